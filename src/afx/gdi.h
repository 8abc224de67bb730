// Images, icons, menus and the little painting the application does.
#pragma once

#include "afx/cstring.h"
#include "afx/window.h"

class CWnd;

class CBitmap {
public:
    // Attaches the bitmap resource; FALSE when it does not exist.
    BOOL LoadBitmap(UINT nIDResource);
    operator HBITMAP() const { return m_hObject; }

private:
    HBITMAP m_hObject = nullptr;
};

// The handle of an icon resource, or null when it does not exist.
HICON LoadIconResource(UINT nIDResource);
// The image of an icon group closest to the given size.
const res::IconImage* IconImageFor(HICON hIcon, int cx, int cy);

class CMenu {
public:
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);

private:
    HWND m_hWnd = nullptr;
};

int GetSystemMetrics(int nIndex);

class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    // The window system shows a minimized window by its window icon, which every front-end sets
    // from the model: drawing it into the window would show nowhere, so this draws nothing.
    BOOL DrawIcon(int x, int y, HICON hIcon);

private:
    HDC m_hDC;
};
