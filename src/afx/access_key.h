// Access keys: in the text of a control or a menu entry, '&' marks the character after it as
// the key that reaches it, and "&&" stands for one '&'. Every front-end shows texts through
// this one reading of the rule.
#pragma once

#include <string>
#include <string_view>

#include "afx/window.h"

namespace afx {

struct AccessText {
    std::string shown;  // the text as drawn, without the markers
    char key = 0;       // the access key, lower case; 0 for none
    int keyAt = -1;     // where the key stands in `shown`; -1 for none
};

// The first marked character is the access key; a '&' at the very end is drawn as it is.
AccessText ParseAccessText(std::string_view text);

// Edits show their text as typed, and a static text with SS_NOPREFIX shows '&' as it is.
bool MarksAccessKeys(const Window& w);
// The text a control shows.
std::string ShownText(const Window& w);

// Alt with a letter or digit comes to the dialog as that key's code ('A'..'Z', '0'..'9'), the
// only keys an access key is matched against.
bool IsAccessKeyCode(UINT vk);
// The control of `top` whose text marks `vk` as its access key, or null: then the key does
// nothing at all (it is never typed into the focused field).
Window* AccessKeyOwner(Window* top, UINT vk);

}  // namespace afx
