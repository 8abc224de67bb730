#include "reliability/panel_watch.h"

#include <chrono>
#include <cstdio>
#include <vector>

#include "afx/msgloop.h"
#include "afx/notify_lock.h"

namespace reliability {
namespace {

namespace input = afx::input;
using testsupport::PanelSession;

constexpr UINT kEditKeys[] = {VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT, VK_HOME, VK_END};
constexpr afx::Duration kTick{300};

// Control slots 0..3 and 5 have a button and a lamp; slot 4 shares TriState's and has none.
constexpr int kShownSlots[] = {0, 1, 2, 3, 5};
constexpr int kCtrlButtonOfSlot[6] = {
    IDC_CTRL_STROBE, IDC_CTRL_AUTO, IDC_CTRL_INIT, IDC_CTRL_INPUT, 0, IDC_CTRL_TRISTATE};
constexpr int kCtrlLampOfSlot[6] = {
    IDC_LAMP_STROBE, IDC_LAMP_AUTO, IDC_LAMP_INIT, IDC_LAMP_INPUT, 0, IDC_LAMP_TRISTATE};
// Status lamps for bits 3..7.
constexpr int kStatusLampOfBit[8] = {
    0, 0, 0, IDC_LAMP_ERROR, IDC_LAMP_SELECT, IDC_LAMP_PEND, IDC_LAMP_ACK, IDC_LAMP_BUSY};

// Init (slot 2) and TriState (slot 5) set their bit in state 1; the port inverts the others.
bool SetsBitWhenOn(int slot) { return slot == 2 || slot == 5; }

int CtrlByteOf(const int* state)
{
    int b = 0;
    for (int s = 0; s < 6; ++s)
        if (SetsBitWhenOn(s) == (state[s] == 1))
            b |= 1 << s;
    return b;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

std::string Hex(int v)
{
    char t[16];
    std::snprintf(t, sizeof t, "%X", static_cast<unsigned>(v));
    return t;
}

std::string List(const std::vector<int>& v)
{
    std::string s = "[";
    for (int x : v)
        s += (s.size() > 1 ? " 0x" : "0x") + Hex(x);
    return s + "]";
}

bool IsEdit(Op op) { return op == Op::EditText || op == Op::Char || op == Op::EditKey || op == Op::Tab; }

}  // namespace

std::string Describe(const Action& a)
{
    static const char* const kNames[] = {"EditText", "Char", "EditKey", "Tab", "DataBit", "ContinuousData", "SetData",
                                         "Tick", "CtrlBit", "ContinuousCtrl", "SetCtrl", "PickBase", "Box"};
    std::string s = kNames[static_cast<int>(a.op)];
    if (a.op == Op::EditText) {
        s += " \"";
        for (char c : a.text)
            s += (c >= 0x20 && c < 0x7F) ? std::string(1, c) : "\\x" + Hex(static_cast<unsigned char>(c));
        return s + "\"";
    }
    return s + " " + std::to_string(a.arg);
}

void Apply(PanelSession& s, const Action& a)
{
    switch (a.op) {
    case Op::EditText: input::EditText(s.Item(IDC_DATA_VALUE), a.text); break;
    case Op::Char:
        // Into the field: on a focused button a typed space would press it, and OK ends the run.
        input::Focus(s.Item(IDC_DATA_VALUE));
        input::Char(s.Top(), static_cast<unsigned char>(a.arg));
        break;
    case Op::EditKey: input::Key(s.Top(), kEditKeys[static_cast<std::size_t>(a.arg) % std::size(kEditKeys)]); break;
    case Op::Tab: input::Key(s.Top(), VK_TAB, a.arg != 0); break;
    case Op::DataBit: input::Click(s.Item(IDC_DATA_BIT0 + a.arg)); break;
    case Op::ContinuousData: input::Click(s.Item(IDC_CONT_DATA)); break;
    case Op::SetData: input::Click(s.Item(IDC_SET_DATA)); break;
    case Op::Tick: s.ui.Sleep(kTick); break;
    case Op::CtrlBit: input::Click(s.Item(IDC_CTRL_STROBE + a.arg)); break;
    case Op::ContinuousCtrl: input::Click(s.Item(IDC_CONT_CTRL)); break;
    case Op::SetCtrl: input::Click(s.Item(IDC_SET_CTRL)); break;
    case Op::PickBase: input::Pick(s.Item(IDC_BASE_ADDR), a.arg); break;
    case Op::Box:
        if (a.arg == 0)
            input::SysCommand(s.Top(), IDM_ABOUT);
        else
            input::Key(s.Top(), VK_F1);
        s.ui.Sleep(kTick);  // the panel keeps refreshing behind the box
        s.ui.Then([&s] {
            if (s.ui.Active() && s.ui.Active() != s.Top())
                input::Key(s.ui.Active(), VK_RETURN);
        });
        break;
    }
}

PanelWatch::PanelWatch(PanelSession& s) : m_s(s)
{
    afx::SetMessageSpy([this](const afx::Msg& m) {
        if (!m.hwnd || m.hwnd != m_s.Top())
            return;
        if (m.message == WM_TIMER) {
            ++m_stepTicks;
            ++m_ticks;
        } else if (m.message == WM_COMMAND && LOWORD(m.wParam) == IDC_DATA_VALUE && HIWORD(m.wParam) == EN_CHANGE &&
                   !afx::NotificationsLockedFor(m.hwnd)) {
            ++m_fieldChanges;
        }
    });
}

PanelWatch::~PanelWatch() { afx::SetMessageSpy(nullptr); }

PanelWatch::Snapshot PanelWatch::Take() const
{
    const CLptPanelDlg& d = m_s.dlg;
    Snapshot s{d.m_nBaseAddr, d.m_nDataByte, d.m_bContinuousData, d.m_strDataValue.Str(),
               d.m_nCtrlByte, d.m_bContinuousCtrl, d.m_nCtrlWritten, {}};
    for (int i = 0; i < 6; ++i)
        s.ctrlState[i] = d.m_nCtrlBitState[i];
    return s;
}

HWND PanelWatch::Item(int id) const
{
    // Looked up once per window: a search per check would cost more than the panel's own work.
    if (m_cachedTop != m_s.Top()) {
        m_cachedTop = m_s.Top();
        m_items.assign(kItemSlots, nullptr);
        for (const auto& c : m_cachedTop->children)
            if (c->id >= kFirstItem && c->id < kFirstItem + kItemSlots)
                m_items[static_cast<std::size_t>(c->id - kFirstItem)] = c.get();
    }
    return m_items[static_cast<std::size_t>(id - kFirstItem)];
}

int PanelWatch::ImageOf(int id) const
{
    HWND h = Item(id);
    return h && h->image ? h->image->bitmap->id : 0;
}

void PanelWatch::Begin(const Action& a)
{
    m_action = a;
    m_before = Take();
    m_begun = true;
    m_fieldChanges = 0;
    m_stepTicks = 0;
    m_s.rec.Clear();  // also keeps the log from growing over a long run
}

std::string PanelWatch::Check()
{
    if (!m_begun)
        return {};
    std::string err;
    CheckRows(err);
    CheckAccesses(err);
    return err.empty() ? err : Describe(m_action) + ": " + err;
}

// What must hold after any action, whatever it was.
void PanelWatch::CheckRows(std::string& err) const
{
    auto fail = [&](const std::string& what) {
        if (err.empty())
            err = what;
    };
    CLptPanelDlg& d = m_s.dlg;
    if (m_s.ui.Active() != m_s.Top())
        fail("a box is still open over the panel");

    if (d.m_nDataByte < 0 || d.m_nDataByte > 255)
        fail("data byte out of range: " + std::to_string(d.m_nDataByte));
    for (int i = 0; i < 8; ++i) {
        int bit = (d.m_nDataByte >> i) & 1;
        if (d.m_nDataBitState[i] != bit)
            fail("data bit state " + std::to_string(i) + " is " + std::to_string(d.m_nDataBitState[i]) +
                 " for the byte 0x" + Hex(d.m_nDataByte));
        if (ImageOf(IDC_DATA_BIT0 + i) != (d.m_nDataBitState[i] == 1 ? IDB_BUTTON_SET : IDB_BUTTON_CLEAR))
            fail("data bit button " + std::to_string(i) + " does not show its state");
    }
    const std::string& field = Item(IDC_DATA_VALUE)->text;
    if (field.size() > 2)
        fail("the Data Value field holds \"" + field + "\"");
    if (d.m_strDataValue.Str() != field)
        fail("m_strDataValue \"" + d.m_strDataValue.Str() + "\" differs from the field \"" + field + "\"");
    for (char c : field)
        if (!IsHexDigit(c))
            fail("the Data Value field keeps a character that is no upper-case hex digit: \"" + field + "\"");
    if (d.m_bContinuousData != Item(IDC_CONT_DATA)->check)
        fail("m_bContinuousData differs from its box");

    if (d.m_nCtrlByte != CtrlByteOf(d.m_nCtrlBitState))
        fail("control byte 0x" + Hex(d.m_nCtrlByte) + " does not follow the slot states");
    if (d.m_nCtrlByte & 0xD0)
        fail("control byte 0x" + Hex(d.m_nCtrlByte) + " has bit 4, 6 or 7 set");
    for (int s : kShownSlots) {
        if (ImageOf(kCtrlButtonOfSlot[s]) != (d.m_nCtrlBitState[s] == 1 ? IDB_BUTTON_SET : IDB_BUTTON_CLEAR))
            fail("control button of slot " + std::to_string(s) + " does not show its state");
        bool lit = SetsBitWhenOn(s) == (((d.m_nCtrlWritten >> s) & 1) != 0);
        if (ImageOf(kCtrlLampOfSlot[s]) != (lit ? IDB_LAMP_ON : IDB_LAMP_OFF))
            fail("control lamp of slot " + std::to_string(s) + " does not show the byte last written");
    }
    if (d.m_bContinuousCtrl != Item(IDC_CONT_CTRL)->check)
        fail("m_bContinuousCtrl differs from its box");

    const HWND list = Item(IDC_BASE_ADDR);
    if (list->sel >= 0 && d.m_nBaseAddr != std::stoi(list->items[static_cast<std::size_t>(list->sel)], nullptr, 16))
        fail("base 0x" + Hex(d.m_nBaseAddr) + " is not the selected entry");
}

// What the action may have done to the port and the pending bytes, by the register access rules.
void PanelWatch::CheckAccesses(std::string& err) const
{
    auto fail = [&](const std::string& what) {
        if (err.empty())
            err = what;
    };
    const Snapshot after = Take();
    const Snapshot& b = m_before;
    const int base = b.base;

    std::vector<int> dataWrites, ctrlWrites;
    int lastData = -1, lastStatus = -1, reads = 0, writes = 0;
    for (const io::Access& a : m_s.rec.Log()) {
        if (a.kind == io::Access::Kind::Write) {
            ++writes;
            if (a.port == base)
                dataWrites.push_back(a.value);
            else if (a.port == base + 2)
                ctrlWrites.push_back(a.value);
            else
                fail("write to port 0x" + Hex(a.port) + " with the base at 0x" + Hex(base));
        } else {
            ++reads;
            if (a.port == base)
                lastData = a.value;
            else if (a.port == base + 1)
                lastStatus = a.value;
            else
                fail("read of port 0x" + Hex(a.port) + " with the base at 0x" + Hex(base));
        }
    }
    for (int v : ctrlWrites)
        if (v & 0xD0)
            fail("control byte 0x" + Hex(v) + " written with bit 4, 6 or 7 set");

    // The data row, by the access table: who may write the data register, and with what.
    std::vector<int> wantData;
    int wantByte = b.dataByte;
    std::string wantField = b.field;
    bool refreshes = false;
    const Op op = m_action.op;
    if (op == Op::DataBit) {
        wantByte = b.dataByte ^ (1 << m_action.arg);
        if (b.continuousData)
            wantData = {wantByte};
        if (after.field != Hex(wantByte))
            fail("after a bit click the field shows \"" + after.field + "\", not the byte 0x" + Hex(wantByte));
        refreshes = true;
    } else if (op == Op::SetData || (op == Op::ContinuousData && after.continuousData)) {
        // Writing takes what the field shows: one digit is that digit's byte, then shown as two.
        if (b.field.size() == 1 && IsHexDigit(b.field[0])) {
            wantByte = std::stoi(b.field, nullptr, 16);
            wantField = "0" + b.field;
        }
        wantData = {wantByte};
        refreshes = true;
    }
    if (op == Op::ContinuousData && after.continuousData == b.continuousData)
        fail("the data row's Continous did not change"); else if (IsEdit(op)) {
        if (m_fieldChanges > 1)
            fail("one edit reached the change handler " + std::to_string(m_fieldChanges) + " times");
        const bool complete = after.field.size() == 2 && IsHexDigit(after.field[0]) && IsHexDigit(after.field[1]);
        if (m_fieldChanges == 1 && complete) {
            wantByte = std::stoi(after.field, nullptr, 16);
            if (b.continuousData)
                wantData = {wantByte};
            refreshes = true;
        }
    }
    if (!IsEdit(op) && m_fieldChanges != 0)
        fail("the change handler ran without an edit");
    if (((IsEdit(op) && m_fieldChanges == 0) || (!IsEdit(op) && op != Op::DataBit)) && after.field != wantField)
        fail("the field changed from \"" + b.field + "\" to \"" + after.field + "\"");
    if (after.dataByte != wantByte)
        fail("data byte 0x" + Hex(after.dataByte) + ", expected 0x" + Hex(wantByte));
    if (dataWrites != wantData)
        fail("data register written " + List(dataWrites) + ", expected " + List(wantData));
    if (op != Op::ContinuousData && after.continuousData != b.continuousData)
        fail("the data row's Continous changed");

    // The control row, likewise.
    std::vector<int> wantCtrl;
    int wantState[6];
    for (int s = 0; s < 6; ++s)
        wantState[s] = b.ctrlState[s];
    int wantWritten = b.ctrlWritten;
    if (op == Op::CtrlBit) {
        int slot = m_action.arg == 4 ? 5 : m_action.arg;
        wantState[slot] = b.ctrlState[slot] == 0 ? 1 : 0;
        if (b.continuousCtrl) {
            wantCtrl = {CtrlByteOf(wantState)};
            refreshes = true;
        }
    } else if (op == Op::SetCtrl || (op == Op::ContinuousCtrl && after.continuousCtrl)) {
        wantCtrl = {b.ctrlByte};
        refreshes = true;
    }
    if (!wantCtrl.empty())
        wantWritten = wantCtrl.back();
    for (int s = 0; s < 6; ++s)
        if (after.ctrlState[s] != wantState[s])
            fail("control slot " + std::to_string(s) + " state changed unasked");
    if (ctrlWrites != wantCtrl)
        fail("control register written " + List(ctrlWrites) + ", expected " + List(wantCtrl));
    if (after.ctrlWritten != wantWritten)
        fail("m_nCtrlWritten is 0x" + Hex(after.ctrlWritten) + ", expected 0x" + Hex(wantWritten));
    if (op == Op::ContinuousCtrl ? after.continuousCtrl == b.continuousCtrl : after.continuousCtrl != b.continuousCtrl)
        fail("the output row's Continous did not follow its clicks");

    // Time: one tick per 300 ms, reading the data and status registers and nothing else.
    const bool ticks = op == Op::Tick || op == Op::Box;
    if (m_stepTicks != (ticks ? 1 : 0))
        fail(std::to_string(m_stepTicks) + " timer ticks in this step");
    if (op == Op::Tick && (reads != 2 || writes != 0 || lastData < 0 || lastStatus < 0))
        fail("a tick made " + std::to_string(reads) + " reads and " + std::to_string(writes) + " writes");
    if (refreshes && (lastData < 0 || lastStatus < 0))
        fail("the lamps were not refreshed");
    if (!refreshes && !ticks && reads != 0)
        fail("the port was read without a refresh being due");

    // The lamps show what the last refresh read.
    for (int i = 0; lastData >= 0 && i < 8; ++i)
        if (ImageOf(IDC_DATA_LAMP0 - i) != (((lastData >> i) & 1) ? IDB_LAMP_ON : IDB_LAMP_OFF))
            fail("data lamp " + std::to_string(i) + " does not show the byte read, 0x" + Hex(lastData));
    for (int bit = 3; lastStatus >= 0 && bit < 8; ++bit)
        if (ImageOf(kStatusLampOfBit[bit]) != (((lastStatus >> bit) & 1) ? IDB_LAMP_ON : IDB_LAMP_OFF))
            fail("status lamp of bit " + std::to_string(bit) + " does not show the byte read, 0x" + Hex(lastStatus));

    // Home and End move the selection too while the list has the focus.
    if (after.base != b.base && op != Op::PickBase && op != Op::EditKey)
        fail("the base changed unasked");
}

}  // namespace reliability
