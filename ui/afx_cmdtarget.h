#pragma once

#include "afx_msgmap.h"

// The root of every class with a message map: the windows.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Looks `message` up in this object's table and its base classes'
    // tables, first match wins; calls the handler and stores its result.
    // False if no table lists the message.
    BOOL DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
