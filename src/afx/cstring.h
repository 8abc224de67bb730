// CString: the framework's single-byte text. Each character is one byte, as in the window model.
#pragma once

#include <string>
#include <string_view>

#include "afx/afxdefs.h"

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(std::string_view s) : m_str(s) {}
    CString(std::string s) : m_str(std::move(s)) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int nIndex) const { return m_str.at(static_cast<std::size_t>(nIndex)); }
    char operator[](int nIndex) const { return GetAt(nIndex); }
    // Putting the terminator at an index ends the text there, as the C string it stands for would.
    void SetAt(int nIndex, char ch);
    // Upper-cases the ASCII letters only: the text is single-byte and other bytes have no case here.
    void MakeUpper();
    // Loads a string resource; an absent string leaves the text empty. Returns whether it existed.
    BOOL LoadString(UINT nID);

    operator LPCTSTR() const { return m_str.c_str(); }
    const std::string& Str() const { return m_str; }

    CString& operator=(const char* psz) { m_str = psz ? psz : ""; return *this; }
    CString& operator+=(std::string_view s) { m_str += s; return *this; }
    // Byte-wise, case-sensitive comparison; equal only when identical, length included.
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }

private:
    std::string m_str;
};
