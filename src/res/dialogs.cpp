// Dialog templates 102 (the register panel) and 100 (the about box), control by control in
// template order, which is also creation order and tab order.
#include <span>

#include "res/catalog.h"
#include "res/resource.h"
#include "res/styles.h"
#include "res/version.h"

namespace res {

namespace {

using namespace styles;
using K = ControlKind;

constexpr int kNone = IDC_STATIC;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

constexpr std::uint32_t kGroupText = kChild | kSsLeft | kWsGroup;
constexpr std::uint32_t kEdit = kChild | kEsLeft | kWsBorder | kWsTabStop | kEsAutoHScroll;
constexpr std::uint32_t kCheckBox = kChild | kBsAutoCheckBox | kWsTabStop;
constexpr std::uint32_t kButton = kChild | kBsPushButton | kWsTabStop;
constexpr std::uint32_t kDefButton = kChild | kBsDefPushButton | kWsTabStop;
// Lamps take the size of their image; the template size is only nominal.
constexpr std::uint32_t kLamp = kChild | kSsBitmap;
// Bit buttons show only the image the panel gives them; their text is never drawn.
constexpr std::uint32_t kBitButton = kChild | kBsPushButton | kBsBitmap | kWsTabStop;
constexpr std::uint32_t kGroupBox = kChild | kBsGroupBox;
constexpr std::uint32_t kDropList = kChild | kCbsDropDownList | kCbsSort | kWsVScroll | kWsTabStop;

constexpr ControlItem kPanelControls[] = {
    {kNone, K::StaticText, kGroupText, "D0", {151, 55, 12, 10}, 0},
    {kNone, K::StaticText, kGroupText, "D1", {135, 55, 12, 10}, 0},
    {kNone, K::StaticText, kGroupText, "D2", {120, 55, 12, 10}, 0},
    {kNone, K::StaticText, kGroupText, "D3", {103, 55, 12, 10}, 0},
    {kNone, K::StaticText, kGroupText, "D4", {87, 55, 12, 10}, 0},
    {kNone, K::StaticText, kGroupText, "D5", {71, 55, 12, 10}, 0},
    {kNone, K::StaticText, kGroupText, "D6", {55, 55, 12, 10}, 0},
    {kNone, K::StaticText, kGroupText, "D7", {39, 55, 12, 10}, 0},
    {IDC_DATA_VALUE, K::Edit, kEdit, "", {175, 34, 37, 15}, 0},
    // The misspelt "Continous" is the label users know the two boxes by; it stays.
    {IDC_CONT_DATA, K::AutoCheckBox, kCheckBox, "Continous", {235, 33, 58, 9}, 0},
    {IDC_SET_DATA, K::PushButton, kButton, "Set Data", {235, 49, 35, 16}, 0},
    {IDC_CONT_CTRL, K::AutoCheckBox, kCheckBox, "Continous", {283, 160, 58, 9}, 0},
    {IDC_SET_CTRL, K::PushButton, kButton, "Set Data", {283, 176, 35, 16}, 0},
    {kIdOk, K::DefPushButton, kDefButton, "OK", {249, 209, 50, 14}, 0},
    {kIdCancel, K::PushButton, kButton, "Cancel", {309, 210, 50, 13}, 0},
    {IDC_DATA_LAMP7, K::BitmapStatic, kLamp, "", {40, 34, 8, 7}, IDB_LAMP_ON},
    {IDC_DATA_LAMP6, K::BitmapStatic, kLamp, "", {55, 34, 8, 7}, IDB_LAMP_ON},
    {IDC_DATA_LAMP5, K::BitmapStatic, kLamp, "", {71, 34, 8, 7}, IDB_LAMP_ON},
    {IDC_DATA_LAMP4, K::BitmapStatic, kLamp, "", {87, 34, 8, 7}, IDB_LAMP_ON},
    {IDC_DATA_LAMP3, K::BitmapStatic, kLamp, "", {103, 34, 8, 7}, IDB_LAMP_ON},
    {IDC_DATA_LAMP2, K::BitmapStatic, kLamp, "", {119, 34, 8, 7}, IDB_LAMP_ON},
    {IDC_DATA_LAMP1, K::BitmapStatic, kLamp, "", {135, 34, 8, 7}, IDB_LAMP_ON},
    {IDC_DATA_LAMP0, K::BitmapStatic, kLamp, "", {151, 34, 8, 7}, IDB_LAMP_ON},
    {IDC_DATA_BIT0, K::BitmapButton, kBitButton, "Button0", {150, 45, 9, 8}, 0},
    {IDC_DATA_BIT1, K::BitmapButton, kBitButton, "Button1", {135, 45, 9, 8}, 0},
    {IDC_DATA_BIT2, K::BitmapButton, kBitButton, "Button2", {119, 45, 9, 8}, 0},
    {IDC_DATA_BIT3, K::BitmapButton, kBitButton, "Button3", {103, 45, 9, 8}, 0},
    {IDC_DATA_BIT4, K::BitmapButton, kBitButton, "Button4", {87, 45, 9, 8}, 0},
    {IDC_DATA_BIT5, K::BitmapButton, kBitButton, "Button5", {70, 45, 9, 8}, 0},
    {IDC_DATA_BIT6, K::BitmapButton, kBitButton, "Button6", {55, 45, 9, 8}, 0},
    {IDC_DATA_BIT7, K::BitmapButton, kBitButton, "Button7", {39, 45, 9, 8}, 0},
    {kNone, K::StaticText, kGroupText, "Data Value", {175, 51, 39, 10}, 0},
    {kNone, K::GroupBox, kGroupBox, "Data", {17, 15, 329, 58}, 0},
    {kNone, K::GroupBox, kGroupBox, "Inputs", {17, 79, 329, 58}, 0},
    {kNone, K::GroupBox, kGroupBox, "Output", {17, 143, 330, 58}, 0},
    {IDC_LAMP_BUSY, K::BitmapStatic, kLamp, "", {69, 97, 8, 7}, IDB_LAMP_ON},
    {kNone, K::StaticText, kGroupText, "Busy(11)", {34, 96, 31, 9}, 0},
    {IDC_LAMP_ACK, K::BitmapStatic, kLamp, "", {116, 97, 8, 7}, IDB_LAMP_ON},
    {kNone, K::StaticText, kGroupText, "Ack(10)", {81, 96, 31, 9}, 0},
    {IDC_LAMP_PEND, K::BitmapStatic, kLamp, "", {163, 97, 8, 7}, IDB_LAMP_ON},
    {kNone, K::StaticText, kGroupText, "PEnd(12)", {128, 96, 31, 9}, 0},
    {IDC_LAMP_SELECT, K::BitmapStatic, kLamp, "", {212, 97, 8, 7}, IDB_LAMP_ON},
    {kNone, K::StaticText, kGroupText, "Select(13)", {175, 96, 33, 9}, 0},
    {IDC_LAMP_ERROR, K::BitmapStatic, kLamp, "", {259, 97, 8, 7}, IDB_LAMP_ON},
    {kNone, K::StaticText, kGroupText, "Error(15)", {224, 96, 31, 9}, 0},
    {IDC_LAMP_TRISTATE, K::BitmapStatic, kLamp, "", {72, 161, 8, 7}, IDB_LAMP_ON},
    {kNone, K::StaticText, kGroupText, "TriState", {37, 160, 31, 9}, 0},
    {IDC_LAMP_INPUT, K::BitmapStatic, kLamp, "", {119, 161, 8, 7}, IDB_LAMP_ON},
    {kNone, K::StaticText, kGroupText, "Input(17)", {84, 160, 31, 9}, 0},
    {IDC_LAMP_INIT, K::BitmapStatic, kLamp, "", {166, 161, 8, 7}, IDB_LAMP_ON},
    {kNone, K::StaticText, kGroupText, "Init(16)", {131, 160, 31, 9}, 0},
    {IDC_LAMP_AUTO, K::BitmapStatic, kLamp, "", {215, 161, 8, 7}, IDB_LAMP_ON},
    {kNone, K::StaticText, kGroupText, "Auto(14)", {178, 160, 33, 9}, 0},
    {IDC_LAMP_STROBE, K::BitmapStatic, kLamp, "", {262, 161, 8, 7}, IDB_LAMP_ON},
    {kNone, K::StaticText, kGroupText, "Strobe(1)", {227, 160, 31, 9}, 0},
    {IDC_CTRL_STROBE, K::BitmapButton, kBitButton, "Button0", {261, 174, 9, 8}, 0},
    {IDC_CTRL_AUTO, K::BitmapButton, kBitButton, "Button1", {215, 174, 9, 8}, 0},
    {IDC_CTRL_INIT, K::BitmapButton, kBitButton, "Button2", {165, 174, 9, 8}, 0},
    {IDC_CTRL_INPUT, K::BitmapButton, kBitButton, "Button3", {118, 174, 9, 8}, 0},
    {IDC_CTRL_TRISTATE, K::BitmapButton, kBitButton, "Button4", {71, 174, 9, 8}, 0},
    // The height is that of the dropped-down list, not of the closed box.
    {IDC_BASE_ADDR, K::DropDownList, kDropList, "", {273, 97, 67, 41}, 0},
    {kNone, K::StaticText, kGroupText, "Base Addr", {286, 86, 37, 8}, 0},
};

constexpr ControlItem kAboutControls[] = {
    {kNone, K::IconStatic, kChild | kSsIcon, "", {11, 17, 20, 20}, IDI_APP},
    {kNone, K::StaticText, kChild | kSsLeft | kSsNoPrefix | kWsGroup, kAboutVersionLine,
     {40, 10, 119, 8}, 0},
    {kNone, K::StaticText, kGroupText, "Parallel port register panel", {40, 25, 119, 8}, 0},
    {kIdOk, K::DefPushButton, kChild | kBsDefPushButton | kWsGroup | kWsTabStop, "OK",
     {178, 7, 32, 14}, 0},
};

constexpr std::uint32_t kDialogFrame = kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsSetFont;

constexpr DialogTemplate kDialogs[] = {
    {IDD_PANEL, "Vellix", kDialogFrame | kWsVisible, kWsExAppWindow, {0, 0, 366, 231},
     "MS Sans Serif", 8, kPanelControls},
    // Created hidden: the framework centres it over its owner before showing it.
    {IDD_ABOUT, "About Vellix", kDialogFrame, 0, {0, 0, 217, 55}, "MS Sans Serif", 8,
     kAboutControls},
};

}  // namespace

std::span<const DialogTemplate> catalog::Dialogs() { return kDialogs; }

}  // namespace res
