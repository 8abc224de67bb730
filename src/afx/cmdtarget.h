// CCmdTarget: anything with a message map that commands can be routed to.
#pragma once

#include "afx/msgmap.h"

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    // Routes a command or control notification through the map chain; TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // The first entry of the map chain that takes this message, or null.
    const AFX_MSGMAP_ENTRY* FindEntry(UINT nMessage, UINT nCode, UINT nID) const;
};
