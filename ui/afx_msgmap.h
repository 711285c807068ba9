#pragma once

#include <windows.h>

// Message maps in the manner of MFC: each class that handles messages has a
// static table of entries and a link to its base class's table. A message
// that no table of the class chain lists goes to the default handling.

class CCmdTarget;

// Calls one handler with the message's parameters and returns its result.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message; 0 ends the table
    UINT nCode;     // WM_COMMAND only: notification code
    UINT nID;       // WM_COMMAND only: control or command ID
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define afx_msg

// The macros write parts of a class and of a table: kept as laid out.
// clang-format off
#define DECLARE_MESSAGE_MAP()                      \
protected:                                         \
    static const AFX_MSGMAP* GetThisMessageMap();  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
        using ThisClass [[maybe_unused]] = theClass;                                                 \
        using TheBaseClass = baseClass;                                             \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                              \
            {0, 0, 0, nullptr}                                                         \
        };                                                                             \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,       \
                                              &_messageEntries[0]};                    \
        return &messageMap;                                                            \
    }

#define AFX_HANDLER(call) \
    [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT { \
        ThisClass* self = static_cast<ThisClass*>(target);            \
        (void)self; (void)wParam; (void)lParam;                       \
        call;                                                         \
    }

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, (UINT)(id), AFX_HANDLER(self->memberFxn(); return 0)},

#define ON_BN_CLICKED(id, memberFxn) \
    {WM_COMMAND, BN_CLICKED, (UINT)(id), AFX_HANDLER(self->memberFxn(); return 0)},

#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, AFX_HANDLER(self->OnSysCommand((UINT)wParam, lParam); return 0)},

#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, AFX_HANDLER(self->OnPaint(); return 0)},

#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, AFX_HANDLER(return (LRESULT)self->OnQueryDragIcon())},

#define ON_WM_DROPFILES() \
    {WM_DROPFILES, 0, 0, AFX_HANDLER(self->OnDropFiles((HDROP)wParam); return 0)},

#define ON_WM_VKEYTOITEM() \
    {WM_VKEYTOITEM, 0, 0, AFX_HANDLER(return self->OnVKeyToItem(LOWORD(wParam), HIWORD(wParam)))},

#define ON_LBN_SELCHANGE(id, memberFxn) \
    {WM_COMMAND, LBN_SELCHANGE, (UINT)(id), AFX_HANDLER(self->memberFxn(); return 0)},

#define ON_LBN_DBLCLK(id, memberFxn) \
    {WM_COMMAND, LBN_DBLCLK, (UINT)(id), AFX_HANDLER(self->memberFxn(); return 0)},

#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, AFX_HANDLER(self->OnTimer((UINT_PTR)wParam); return 0)},

#define ON_MESSAGE(message, memberFxn) \
    {(UINT)(message), 0, 0, AFX_HANDLER(return self->memberFxn(wParam, lParam))},
// clang-format on
