// The system menu as a small box over its window: the entries of the window's menu, with
// separator lines, access keys shown without their '&', and one entry marked.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "afx/window.h"
#include "ui/term/key_map.h"

namespace ui::term {

class MenuOverlay {
public:
    struct Entry {
        bool separator;
        bool enabled;
        UINT id;
        std::string label;   // without '&'
        char access;         // the letter after '&', lower case; 0 for none
        int accessAt;        // its place in the label, -1 for none
        std::string shortcut;  // the text after a tab
    };

    // What a key or click does to an open menu.
    struct Outcome {
        bool close = false;
        std::optional<UINT> command;  // the entry chosen
    };

    void Open(afx::Window* top);
    void Close() { m_top = nullptr; }
    bool IsOpen() const { return m_top != nullptr; }
    afx::Window* Owner() const { return m_top; }
    // Takes the entries again when the window's menu changes while it is open.
    void Reload();

    Outcome OnKey(const KeyInput& key);
    // A click at a row of the box (0 = first entry), or outside it (nullopt).
    Outcome OnClick(std::optional<int> entry);

    const std::vector<Entry>& Entries() const { return m_entries; }
    int Marked() const { return m_marked; }
    int Width() const;  // cells inside the border

private:
    void Move(int step);
    Outcome Choose(int index);

    afx::Window* m_top = nullptr;
    std::vector<Entry> m_entries;
    int m_marked = -1;
};

}  // namespace ui::term
