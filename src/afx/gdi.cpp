#include "afx/gdi.h"

#include <cstdlib>
#include <map>

#include "afx/cwnd.h"
#include "res/resources.h"

namespace {

// Handles stay valid for the whole process, as resource handles do.
template <typename Handle, typename Resource>
const Handle* HandleFor(const Resource* r)
{
    static std::map<const Resource*, Handle> handles;
    if (!r)
        return nullptr;
    return &handles.try_emplace(r, Handle{r}).first->second;
}

}  // namespace

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    m_hObject = HandleFor<afx::Image>(res::FindBitmap(static_cast<int>(nIDResource)));
    return m_hObject ? TRUE : FALSE;
}

HICON LoadIconResource(UINT nIDResource)
{
    return HandleFor<afx::IconHandle>(res::FindIcon(static_cast<int>(nIDResource)));
}

const res::IconImage* IconImageFor(HICON hIcon, int cx, int cy)
{
    if (!hIcon || hIcon->group->images.empty())
        return nullptr;
    const res::IconImage* best = &hIcon->group->images.front();
    for (const res::IconImage& img : hIcon->group->images)
        if (std::abs(img.width - cx) + std::abs(img.height - cy) < std::abs(best->width - cx) + std::abs(best->height - cy))
            best = &img;
    return best;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, LPCTSTR lpszNewItem)
{
    if (!m_hWnd)
        return FALSE;
    m_hWnd->sysMenu.Append({nFlags, nIDNewItem, lpszNewItem ? lpszNewItem : ""});
    afx::Changed(m_hWnd, afx::What::Menu);
    return TRUE;
}

int GetSystemMetrics(int nIndex)
{
    return (nIndex == SM_CXICON || nIndex == SM_CYICON) ? 32 : 0;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hDC(pWnd->m_hWnd) {}

CPaintDC::~CPaintDC() = default;

BOOL CPaintDC::DrawIcon(int x, int y, HICON hIcon)
{
    (void)x;
    (void)y;
    (void)hIcon;
    return TRUE;
}
