// Basic types and constants of the dialog framework, with the values the window system used,
// so that message maps and handlers read as they always have.
#pragma once

#include <cstdint>

#include "res/styles.h"

using BOOL = int;
using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using DWORD = std::uint32_t;
using LPCTSTR = const char*;
using TCHAR = char;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

namespace afx { struct Window; struct Image; struct IconHandle; class Menu; }
using HWND = afx::Window*;
using HBITMAP = const afx::Image*;
using HICON = const afx::IconHandle*;
using HCURSOR = HICON;
using HDC = void*;

struct POINT { int x, y; };
struct SIZE { int cx, cy; };
struct RECT {
    int left, top, right, bottom;
};

// Window messages
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_ICONERASEBKGND = 0x0027;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_USER = 0x0400;

// Button, static, edit and list messages and notifications
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_SETIMAGE = 0x00F7;
constexpr UINT STM_SETIMAGE = 0x0172;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT BN_CLICKED = 0;
constexpr UINT EN_CHANGE = 0x0300;
constexpr UINT CBN_SELCHANGE = 1;
constexpr int CB_ERR = -1;
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

// System commands
constexpr UINT SC_SIZE = 0xF000;
constexpr UINT SC_MOVE = 0xF010;
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_MAXIMIZE = 0xF030;
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT SC_KEYMENU = 0xF100;
constexpr UINT SC_RESTORE = 0xF120;

// Menu flags
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_SEPARATOR = 0x0800;

// Dialog results and standard command IDs
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr UINT ID_HELP = 0xE146;

// Icon metrics
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// The framework's names for the style bits that the resource templates define.
constexpr DWORD WS_POPUP = res::styles::kWsPopup;
constexpr DWORD WS_CHILD = res::styles::kWsChild;
constexpr DWORD WS_VISIBLE = res::styles::kWsVisible;
constexpr DWORD WS_CAPTION = res::styles::kWsCaption;
constexpr DWORD WS_BORDER = res::styles::kWsBorder;
constexpr DWORD WS_SYSMENU = res::styles::kWsSysMenu;
constexpr DWORD WS_TABSTOP = res::styles::kWsTabStop;
constexpr DWORD DS_MODALFRAME = res::styles::kDsModalFrame;
constexpr DWORD SS_NOPREFIX = res::styles::kSsNoPrefix;
constexpr DWORD BS_DEFPUSHBUTTON = res::styles::kBsDefPushButton;

// Virtual keys
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F4 = 0x73;
constexpr UINT VK_F10 = 0x79;

inline constexpr UINT LOWORD(std::uintptr_t v) { return static_cast<UINT>(v & 0xFFFF); }
inline constexpr UINT HIWORD(std::uintptr_t v) { return static_cast<UINT>((v >> 16) & 0xFFFF); }
inline constexpr WPARAM MAKEWPARAM(UINT lo, UINT hi) { return (static_cast<WPARAM>(hi & 0xFFFF) << 16) | (lo & 0xFFFF); }
