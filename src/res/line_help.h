// What the lamps and bit buttons stand for, as data both front-ends read: for each control the
// connector line it shows, and for each image the word that says what it shows.
#pragma once

#include <string_view>

namespace res {

// The line a lamp or bit button shows on the 25-pin connector.
struct LineTip {
    int id;                    // the lamp or bit button
    std::string_view line;     // "Busy", "D3", "TriState"
    int pin;                   // connector pin, 0 for a line without one
    bool inverted;             // the port inverts the register bit against the pin
    std::string_view meaning;  // what a lit lamp or a set button means: "pin 11 is low"
    std::string_view bit;      // the register bit behind it where that helps: "control bit 0 clear"
};

// What an image shows: "lit" or "unlit" for a lamp, "set" or "clear" for a bit button.
struct ImageState {
    int bitmapId;
    std::string_view word;
    bool on;  // lit or set
};

// Null when the control shows no line, or the image says nothing of a state.
const LineTip* FindLineTip(int controlId);
const ImageState* FindImageState(int bitmapId);

}  // namespace res
