#include "afx/dialog.h"

#include "afx/controlproc.h"
#include "afx/dialog_keys.h"
#include "afx/msgloop.h"
#include "afx/view_changes.h"
#include "afx/winapp.h"
#include "afx/window_factory.h"
#include "res/resources.h"

namespace {
std::string g_captionSuffix;
}

void afx::SetMainCaptionSuffix(std::string suffix)
{
    // An open main window shows the new suffix at once: its caption is the template's text
    // followed by the suffix in use until now.
    CWnd* pMain = AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr;
    if (pMain && pMain->m_hWnd && !pMain->m_hWnd->owner) {
        std::string text = pMain->m_hWnd->text;
        if (text.size() >= g_captionSuffix.size() &&
            text.compare(text.size() - g_captionSuffix.size(), g_captionSuffix.size(), g_captionSuffix) == 0)
            text.resize(text.size() - g_captionSuffix.size());
        text += suffix;
        pMain->SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    g_captionSuffix = std::move(suffix);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pTemplate(nullptr), m_pParentWnd(pParentWnd)
{
}

CDialog::CDialog(const res::DialogTemplate& rTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(0), m_pTemplate(&rTemplate), m_pParentWnd(pParentWnd)
{
}

int CDialog::DoModal()
{
    const res::DialogTemplate* tmpl = m_pTemplate ? m_pTemplate : res::FindDialog(static_cast<int>(m_nIDTemplate));
    afx::Frontend* frontend = afx::CurrentFrontend();
    if (!tmpl || !frontend)
        return -1;

    // A dialog without a parent belongs to the application's main window.
    CWnd* pOwner = m_pParentWnd;
    if (!pOwner && AfxGetApp() && AfxGetApp()->m_pMainWnd != this)
        pOwner = AfxGetApp()->m_pMainWnd;
    HWND hOwner = pOwner ? pOwner->m_hWnd : nullptr;

    std::unique_ptr<afx::Window> window = afx::CreateDialogWindow(*tmpl, hOwner ? std::string() : g_captionSuffix);
    window->wnd = this;
    window->owner = hOwner;
    m_hWnd = window.get();
    afx::FlushChanges();  // a box opened from a handler: the owner shows that handler's changes so far
    if (!frontend->Created(m_hWnd)) {
        m_hWnd = nullptr;
        return -1;
    }
    afx::ViewBuilt(m_hWnd);
    bool ownerWasEnabled = hOwner && hOwner->enabled;
    if (ownerWasEnabled)
        pOwner->EnableWindow(FALSE);

    m_bEnded = false;
    m_nModalResult = -1;
    if (SendMessage(WM_INITDIALOG))
        afx::FocusFirstTabStop(m_hWnd);
    PostMessage(WM_PAINT);
    afx::RunModalLoop([this] { return m_bEnded; });

    SendMessage(WM_DESTROY);
    if (ownerWasEnabled)
        pOwner->EnableWindow(TRUE);
    afx::FlushChanges();
    frontend->Destroyed(m_hWnd);
    afx::ViewGone(m_hWnd);
    afx::ForgetWindow(m_hWnd);
    m_hWnd = nullptr;
    return m_nModalResult;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEnded = true;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCmdMsg(UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCmdMsg(nID, nCode, wParam, lParam))
        return TRUE;
    // Commands the dialog does not take (help, for one) go on to the application.
    if (nCode != 0 || nID >= 0xF000)
        return FALSE;
    return AfxGetApp() ? AfxGetApp()->OnCmdMsg(nID, nCode, wParam, lParam) : FALSE;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_CLOSE:
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    case WM_SYSCOMMAND:
        return afx::DefaultSysCommand(this, static_cast<UINT>(wParam));
    case WM_SETTEXT:
        m_hWnd->text = reinterpret_cast<const char*>(lParam);
        afx::Changed(m_hWnd, afx::What::Text);
        return TRUE;
    case WM_SETICON: {
        HICON& slot = wParam == ICON_BIG ? m_hWnd->bigIcon : m_hWnd->smallIcon;
        HICON previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
        afx::Changed(m_hWnd, afx::What::Icon);
        return reinterpret_cast<LRESULT>(previous);
    }
    case afx::AFXM_KEY:
        afx::DialogKey(this, static_cast<UINT>(wParam), lParam);
        return 0;
    case afx::AFXM_CHAR:
        afx::DialogChar(this, static_cast<unsigned char>(wParam));
        return 0;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}
