// Real display servers for tests of the display check: a private Xvfb (optionally demanding an
// authorisation cookie) and a private headless weston. Each is absent (Ok() false) when the
// server is not installed or does not come up, so that a test can skip instead of failing.
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace displaytest {

// An authority file with one random MIT-MAGIC-COOKIE-1 for any display, for Xvfb's -auth.
// Returns the cookie.
std::string WriteCookieFile(const std::filesystem::path& path);

// An authority file with one entry for `cookie`, as xauth writes it: for the server at `address`
// in `family` (256: this machine, by its host name) and display `number`.
void WriteCookieEntry(const std::filesystem::path& path, const std::string& cookie, unsigned family,
                      const std::string& address, const std::string& number);

class XServer {
public:
    // Whether the server goes on after its last client leaves (Xvfb -noreset) or ends then
    // (Xvfb -terminate).
    enum class Lifetime { Stays, EndsWithLastClient };
    // Where clients reach it: its local socket, or that and TCP port 6000 + its number.
    enum class Reach { Local, LocalAndTcp };
    // With `authFile`, the server accepts only clients that present the cookie written there.
    explicit XServer(const std::filesystem::path& authFile = {}, Lifetime lifetime = Lifetime::Stays,
                     Reach reach = Reach::Local);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    bool Ok() const { return !m_display.empty(); }
    // ":N"
    const std::string& Display() const { return m_display; }
    // The server process has not ended.
    bool Running();

private:
    pid_t m_pid = -1;
    std::string m_display;
};

class Compositor {
public:
    // Listens on `runtimeDir`/`socket`.
    Compositor(const std::filesystem::path& runtimeDir, const std::string& socket);
    ~Compositor();
    Compositor(const Compositor&) = delete;
    Compositor& operator=(const Compositor&) = delete;
    bool Ok() const { return m_ok; }

private:
    pid_t m_pid = -1;
    bool m_ok = false;
};

}  // namespace displaytest
