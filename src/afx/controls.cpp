#include "afx/controls.h"

HBITMAP CButton::SetBitmap(HBITMAP hBitmap)
{
    return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap)
{
    return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

int CComboBox::AddString(LPCTSTR lpszString)
{
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)));
}

int CComboBox::SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect))); }

int CComboBox::GetCurSel() const { return m_hWnd ? m_hWnd->sel : CB_ERR; }

int CComboBox::GetCount() const { return m_hWnd ? static_cast<int>(m_hWnd->items.size()) : 0; }

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    if (m_hWnd && nIndex >= 0 && nIndex < GetCount())
        rString = CString(m_hWnd->items[static_cast<std::size_t>(nIndex)]);
}
