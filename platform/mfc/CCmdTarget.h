#pragma once
// The root of every class that takes commands: its message map and the command lookup.
#include "platform/mfc/MessageMap.h"

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Runs the handler of the command (WM_COMMAND with id and notification code); FALSE when this
    // object's map has none.
    virtual BOOL OnCmdMsg(UINT id, int code);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry for the message, searched from this class's map up to the root's.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;
};
