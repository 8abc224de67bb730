// Message maps: static tables of a class that route messages and notifications to handlers,
// each chained to the map of its base class.
#pragma once

#include "afx/afxdefs.h"

class CCmdTarget;

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // window message; WM_COMMAND for commands and notifications
    UINT nCode;      // notification code for WM_COMMAND entries
    UINT nID;        // first control or command ID
    UINT nLastID;    // last ID of a range; equal to nID otherwise
    LRESULT (*pfn)(CCmdTarget* pTarget, UINT nID, WPARAM wParam, LPARAM lParam);
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;  // ends with an entry whose pfn is null
};

#define DECLARE_MESSAGE_MAP()                              \
protected:                                                 \
    static const AFX_MSGMAP* GetThisMessageMap();          \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                   \
    {                                                                                  \
        using ThisClass [[maybe_unused]] = theClass;                                                  \
        using TheBaseClass = baseClass;                                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                              \
            {0, 0, 0, 0, nullptr}};                                                    \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,        \
                                              &_messageEntries[0]};                    \
        return &messageMap;                                                            \
    }

#define AFX_THIS(p) static_cast<ThisClass*>(p)

#define ON_COMMAND(id, memberFxn)                                                       \
    {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id),                       \
     [](CCmdTarget* p, UINT, WPARAM, LPARAM) -> LRESULT { AFX_THIS(p)->memberFxn(); return 0; }},

#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                         \
    {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(idLast),                   \
     [](CCmdTarget* p, UINT nID, WPARAM, LPARAM) -> LRESULT { AFX_THIS(p)->memberFxn(nID); return 0; }},

#define ON_CONTROL(code, id, memberFxn)                                                 \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
     [](CCmdTarget* p, UINT, WPARAM, LPARAM) -> LRESULT { AFX_THIS(p)->memberFxn(); return 0; }},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)

#define ON_WM_SYSCOMMAND()                                                              \
    {WM_SYSCOMMAND, 0, 0, 0, [](CCmdTarget* p, UINT, WPARAM w, LPARAM l) -> LRESULT {   \
         AFX_THIS(p)->OnSysCommand(static_cast<UINT>(w), l); return 0; }},

#define ON_WM_PAINT()                                                                   \
    {WM_PAINT, 0, 0, 0, [](CCmdTarget* p, UINT, WPARAM, LPARAM) -> LRESULT {            \
         AFX_THIS(p)->OnPaint(); return 0; }},

#define ON_WM_QUERYDRAGICON()                                                           \
    {WM_QUERYDRAGICON, 0, 0, 0, [](CCmdTarget* p, UINT, WPARAM, LPARAM) -> LRESULT {    \
         return reinterpret_cast<LRESULT>(AFX_THIS(p)->OnQueryDragIcon()); }},

#define ON_WM_TIMER()                                                                   \
    {WM_TIMER, 0, 0, 0, [](CCmdTarget* p, UINT, WPARAM w, LPARAM) -> LRESULT {          \
         AFX_THIS(p)->OnTimer(static_cast<UINT>(w)); return 0; }},
