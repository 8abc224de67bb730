#include "afx/cstring.h"

#include <algorithm>

#include "res/resources.h"

void CString::SetAt(int nIndex, char ch)
{
    auto i = static_cast<std::size_t>(nIndex);
    if (ch == '\0')
        m_str.resize(std::min(i, m_str.size()));
    else
        m_str.at(i) = ch;
}

void CString::MakeUpper()
{
    for (char& c : m_str)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
}

BOOL CString::LoadString(UINT nID)
{
    m_str = std::string(res::FindString(static_cast<int>(nID)));
    return m_str.empty() ? FALSE : TRUE;
}
