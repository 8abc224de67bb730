// CLptApp: runs the register panel once and remembers the chosen port on OK.
#pragma once

#include "afx/afxwin.h"

class CLptApp : public CWinApp {
public:
    CLptApp();
    ~CLptApp() override;

    BOOL InitInstance() override;

protected:
    DECLARE_MESSAGE_MAP()
};
