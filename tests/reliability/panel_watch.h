// Long random runs and fuzzed ones share this: the user actions they are made of, and the
// checks that must hold after each action (the rows' invariants, and which action may write
// which register).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/panel_session.h"

namespace reliability {

enum class Op : std::uint8_t {
    EditText,        // the field's whole text replaced, as a native editor reports it (text)
    Char,            // one byte typed into the Data Value field (arg)
    EditKey,         // Backspace, Delete, Left, Right, Home or End in the focused control (arg)
    Tab,             // focus to the next control, or the previous one (arg 1)
    DataBit,         // click the data bit button of bit arg
    ContinuousData,  // click the data row's Continous box
    SetData,         // click the data row's Set Data
    Tick,            // 300 ms pass
    CtrlBit,         // click a control button: arg 0..4 is Strobe, Auto, Init, Input, TriState
    ContinuousCtrl,
    SetCtrl,
    PickBase,        // choose entry arg of the Base Addr list
    Box,             // the about box (arg 0) or the help box (arg 1): open, one tick, close
};

struct Action {
    Op op = Op::Tick;
    int arg = 0;
    std::string text;
};

// For failure messages: "DataBit 3", "EditText \"3c\"".
std::string Describe(const Action& a);

// Queues the action on the running panel, with any script steps it needs (a tick sleeps); the
// loop handles it before the script's next step runs.
void Apply(testsupport::PanelSession& s, const Action& a);

// Watches one panel run: every message the panel receives, every port access.
class PanelWatch {
public:
    explicit PanelWatch(testsupport::PanelSession& s);
    ~PanelWatch();
    PanelWatch(const PanelWatch&) = delete;
    PanelWatch& operator=(const PanelWatch&) = delete;

    // Just before the action is applied: remembers what the action starts from.
    void Begin(const Action& a);
    // Once the loop has handled it: the first broken rule, or empty when all hold.
    std::string Check();
    // Timer ticks the panel has handled so far.
    long Ticks() const { return m_ticks; }

private:
    struct Snapshot {
        int base, dataByte, continuousData;
        std::string field;
        int ctrlByte, continuousCtrl, ctrlWritten;
        int ctrlState[6];
    };
    Snapshot Take() const;
    HWND Item(int id) const;
    int ImageOf(int id) const;
    void CheckRows(std::string& err) const;
    void CheckAccesses(std::string& err) const;

    static constexpr int kFirstItem = 1000;
    static constexpr int kItemSlots = 64;

    testsupport::PanelSession& m_s;
    mutable HWND m_cachedTop = nullptr;
    mutable std::vector<HWND> m_items;
    Action m_action;
    Snapshot m_before{};
    bool m_begun = false;
    int m_fieldChanges = 0;  // EN_CHANGE of the Data Value field that reached the panel
    int m_stepTicks = 0;
    long m_ticks = 0;
};

}  // namespace reliability
