#include "afx/winapp.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "afx/dialog.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {
CWinApp* g_app = nullptr;
int g_exitCode = 0;

constexpr UINT AFX_IDS_HELP = ID_HELP;  // the help text is the string with the help command's number
}

namespace {
const char* TitleFromStrings()
{
    static const std::string title(res::FindString(AFX_IDS_APP_TITLE));
    return title.empty() ? program_invocation_short_name : title.c_str();
}
}  // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName ? lpszAppName : TitleFromStrings())
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

const AFX_MSGMAP* CWinApp::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWinApp::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::Run() { return ExitInstance(); }  // no window of its own to loop for
int CWinApp::ExitInstance() { return g_exitCode; }

BOOL CWinApp::Enable3dControls() { return TRUE; }  // every front-end draws controls in relief

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIconResource(nIDResource); }

void CWinApp::OnHelp()
{
    CString text;
    if (text.LoadString(AFX_IDS_HELP))
        AfxMessageBox(text);
}

CWinApp* AfxGetApp() { return g_app; }

void AfxPostQuitMessage(int nExitCode) { g_exitCode = nExitCode; }

int AfxWinMain()
{
    g_exitCode = 0;  // each run starts without a failure of its own
    CWinApp* app = AfxGetApp();
    if (!app || !app->InitApplication())
        return -1;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}

int AfxMessageBox(LPCTSTR lpszText)
{
    std::string text = lpszText ? lpszText : "";
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    std::size_t widest = 0;
    for (const auto& l : lines)
        widest = std::max(widest, l.size());
    // Dialog units: about 4 across a character and 8 down a line.
    int width = std::max(120, static_cast<int>(widest) * 4 + 24);
    int textHeight = static_cast<int>(lines.size()) * 9;
    std::vector<res::ControlItem> items;
    for (std::size_t i = 0; i < lines.size(); ++i)
        items.push_back({-1, res::ControlKind::StaticText, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, lines[i],
                         {12, 10 + static_cast<int>(i) * 9, width - 24, 8}, 0});
    items.push_back({IDOK, res::ControlKind::DefPushButton, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, "OK",
                     {width / 2 - 25, textHeight + 18, 50, 14}, 0});
    std::string caption = AfxGetApp() ? AfxGetApp()->m_pszAppName : "";
    res::DialogTemplate tmpl{0, caption, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0,
                             {0, 0, width, textHeight + 40}, "MS Sans Serif", 8, items};
    CDialog box(tmpl);
    return box.DoModal();
}
