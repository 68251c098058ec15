#pragma once
// Message maps: each class lists the messages and commands it handles, with a link to its base
// class's list; a message goes to the first entry found from the most derived class up.
#include "platform/mfc/MfcWin32.h"

class CCmdTarget;

// Every handler is reached through a thunk of one shape, made for it from its member pointer.
using AFX_PMSG = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_PMSG pfn;  // null ends a map
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

template <class T>
struct AfxMemberClass;
template <class C, class R, class... A>
struct AfxMemberClass<R (C::*)(A...)> {
    using type = C;
};

// void handler()
template <auto F>
LRESULT AfxCall_vv(CCmdTarget* target, WPARAM, LPARAM)
{
    using C = typename AfxMemberClass<decltype(F)>::type;
    (static_cast<C*>(target)->*F)();
    return 0;
}

// void handler(UINT, LPARAM)
template <auto F>
LRESULT AfxCall_vwl(CCmdTarget* target, WPARAM wParam, LPARAM lParam)
{
    using C = typename AfxMemberClass<decltype(F)>::type;
    (static_cast<C*>(target)->*F)(static_cast<UINT>(wParam), lParam);
    return 0;
}

// HCURSOR handler()
template <auto F>
LRESULT AfxCall_hv(CCmdTarget* target, WPARAM, LPARAM)
{
    using C = typename AfxMemberClass<decltype(F)>::type;
    return reinterpret_cast<LRESULT>((static_cast<C*>(target)->*F)());
}

#define DECLARE_MESSAGE_MAP()                          \
protected:                                             \
    static const AFX_MSGMAP* GetThisMessageMap();      \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                \
    const AFX_MSGMAP* theClass::GetMessageMap() const                         \
    {                                                                         \
        return GetThisMessageMap();                                           \
    }                                                                         \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                           \
    {                                                                         \
        using ThisClass [[maybe_unused]] = theClass;                          \
        using TheBaseClass = baseClass;                                       \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                          \
    {0, 0, 0, 0, nullptr}                                                          \
    };                                                                             \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, &entries[0]}; \
    return &map;                                                                   \
    }

#define ON_COMMAND(id, fn) {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), &AfxCall_vv<fn>},
#define ON_BN_CLICKED(id, fn) \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), static_cast<UINT>(id), &AfxCall_vv<fn>},
#define ON_WM_SYSCOMMAND() {WM_SYSCOMMAND, 0, 0, 0, &AfxCall_vwl<&ThisClass::OnSysCommand>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, &AfxCall_vv<&ThisClass::OnPaint>},
#define ON_WM_QUERYDRAGICON() {WM_QUERYDRAGICON, 0, 0, 0, &AfxCall_hv<&ThisClass::OnQueryDragIcon>},
