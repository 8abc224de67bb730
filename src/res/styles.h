// Window style bits of the dialog templates, with the values the templates were laid out with.
// The one place they are defined: the framework gives the ones it tests their classic names.
#pragma once

#include <cstdint>

namespace res::styles {

// Window styles
inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kWsVisible = 0x10000000;
inline constexpr std::uint32_t kWsCaption = 0x00C00000;
inline constexpr std::uint32_t kWsBorder = 0x00800000;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000;
inline constexpr std::uint32_t kWsVScroll = 0x00200000;
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kWsTabStop = 0x00010000;

// Dialog styles
inline constexpr std::uint32_t kDsModalFrame = 0x80;
inline constexpr std::uint32_t kDsSetFont = 0x40;

// Extended window styles
inline constexpr std::uint32_t kWsExAppWindow = 0x00040000;

// Static controls
inline constexpr std::uint32_t kSsLeft = 0x00;
inline constexpr std::uint32_t kSsIcon = 0x03;
inline constexpr std::uint32_t kSsBitmap = 0x0E;
inline constexpr std::uint32_t kSsNoPrefix = 0x80;

// Buttons
inline constexpr std::uint32_t kBsPushButton = 0x00;
inline constexpr std::uint32_t kBsDefPushButton = 0x01;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x03;
inline constexpr std::uint32_t kBsGroupBox = 0x07;
inline constexpr std::uint32_t kBsBitmap = 0x80;

// Edit controls
inline constexpr std::uint32_t kEsLeft = 0x00;
inline constexpr std::uint32_t kEsAutoHScroll = 0x80;

// Combo boxes
inline constexpr std::uint32_t kCbsDropDownList = 0x03;
inline constexpr std::uint32_t kCbsSort = 0x100;

// Every control of both templates is a visible child window.
inline constexpr std::uint32_t kChild = kWsChild | kWsVisible;

}  // namespace res::styles
