// The two messages that open an X connection: the client's setup request and the server's
// answer to it, made and read here without a server, byte for byte as the X protocol lays them out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ui::qt::x11 {

// The authorisation a client presents: its protocol name ("MIT-MAGIC-COOKIE-1") and data, both
// empty for none.
struct Authorization {
    std::string name;
    std::string data;
};

// The setup request, in this machine's byte order (which the server then answers in).
std::string SetupRequest(const Authorization& authorization);

struct SetupAnswer {
    enum class Kind {
        Incomplete,  // more bytes are needed before anything can be said
        Refused,     // the server said no (failed, or asked for more authentication), with why
        Accepted,    // the server took us, with its number of screens
        NotX,        // what came back is not an answer an X server gives
    };
    Kind kind = Kind::Incomplete;
    std::string reason;
    int screens = 0;
};

// Reads the server's answer from the bytes received so far.
SetupAnswer ReadSetupAnswer(std::string_view received);

}  // namespace ui::qt::x11
