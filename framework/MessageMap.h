// Message maps: per class, a static table of (message, handler) entries chained to the base class's table.
//
// A window looks a message up in its most derived class's table first, then in each base's table in turn; the
// first entry that matches handles the message, and a message no table maps goes to the default procedure.
// Every entry holds a "cracker": a small function that unpacks wParam/lParam into the handler's typed
// arguments and packs the handler's result back into an LRESULT. Handlers that return nothing give the result
// of the default handling they ran (CWnd::Default), or 0 when they ran none.
#pragma once

#include "framework/Prelude.h"

#include "framework/Gdi.h"
#include "framework/Types.h"

class CCmdTarget;

#define afx_msg

typedef LRESULT (*AFX_PMSG_CRACK)(CCmdTarget* pTarget, UINT message, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;     // WM_COMMAND for command entries; 0 ends a table
    UINT nLastMessage; // the last message the entry covers (the WM_CTLCOLOR* family shares one entry)
    UINT nCode;        // WM_COMMAND entries: the notification code
    UINT nID;          // WM_COMMAND entries: the control or command ID
    AFX_PMSG_CRACK pfnCrack;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)(); // NULL for the root of the chain
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                                      \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                                        \
        using ThisClass [[maybe_unused]] = theClass;                                                         \
        using TheBaseClass = baseClass;                                                                      \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    { 0, 0, 0, 0, nullptr }                                                                                  \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &entries[0]};                    \
    return &messageMap;                                                                                      \
    }

// The crackers, one per argument shape. T is the class whose map holds the entry, F the handler.
namespace afxcrack {

// What CWnd::Default returned last while the current message was being handled (0 if it was not called).
LRESULT DefaultResult();

template <class T> T* Self(CCmdTarget* p) {
    return static_cast<T*>(p);
}

template <class T, auto F> LRESULT Void(CCmdTarget* p, UINT, WPARAM, LPARAM) {
    (Self<T>(p)->*F)();
    return DefaultResult();
}
template <class T, auto F> LRESULT WParamLParam(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    return (Self<T>(p)->*F)(w, l);
}
template <class T, auto F> LRESULT Create(CCmdTarget* p, UINT, WPARAM, LPARAM l) {
    return (Self<T>(p)->*F)(reinterpret_cast<LPCREATESTRUCT>(l));
}
template <class T, auto F> LRESULT Move(CCmdTarget* p, UINT, WPARAM, LPARAM l) {
    (Self<T>(p)->*F)(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
    return DefaultResult();
}
template <class T, auto F> LRESULT Size(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    (Self<T>(p)->*F)(static_cast<UINT>(w), static_cast<int>(LOWORD(l)), static_cast<int>(HIWORD(l)));
    return DefaultResult();
}
template <class T, auto F> LRESULT EraseBkgnd(CCmdTarget* p, UINT, WPARAM w, LPARAM) {
    return (Self<T>(p)->*F)(CDC::FromHandle(reinterpret_cast<HDC>(w)));
}
template <class T, auto F> LRESULT CtlColor(CCmdTarget* p, UINT message, WPARAM w, LPARAM l) {
    return reinterpret_cast<LRESULT>((Self<T>(p)->*F)(CDC::FromHandle(reinterpret_cast<HDC>(w)),
                                                      T::FromHandle(reinterpret_cast<HWND>(l)),
                                                      message - WM_CTLCOLORMSGBOX));
}
// Mouse messages, client and non-client: key flags or hit code, and the point (client or screen).
template <class T, auto F> LRESULT FlagsPoint(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    (Self<T>(p)->*F)(static_cast<UINT>(w), CPoint(l));
    return DefaultResult();
}
template <class T, auto F> LRESULT Bool(CCmdTarget* p, UINT, WPARAM w, LPARAM) {
    (Self<T>(p)->*F)(static_cast<BOOL>(w));
    return DefaultResult();
}
template <class T, auto F> LRESULT BoolResultBool(CCmdTarget* p, UINT, WPARAM w, LPARAM) {
    return (Self<T>(p)->*F)(static_cast<BOOL>(w));
}
// WM_MOUSEACTIVATE and WM_SETCURSOR: a window, the hit code and the mouse message.
template <class T, auto F> LRESULT WndHitMsg(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    return (Self<T>(p)->*F)(T::FromHandle(reinterpret_cast<HWND>(w)), LOWORD(l), HIWORD(l));
}
template <class T, auto F> LRESULT ContextMenu(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    (Self<T>(p)->*F)(T::FromHandle(reinterpret_cast<HWND>(w)), CPoint(l));
    return DefaultResult();
}
template <class T, auto F> LRESULT NcHitTest(CCmdTarget* p, UINT, WPARAM, LPARAM l) {
    return (Self<T>(p)->*F)(CPoint(l));
}
// Messages whose lParam points to a structure (MINMAXINFO, WINDOWPOS): the handler's parameter type says
// which.
template <class> struct PointerArg;
template <class R, class C, class A> struct PointerArg<R (C::*)(A)> { using type = A; };
template <class T, auto F> LRESULT LParamPtr(CCmdTarget* p, UINT, WPARAM, LPARAM l) {
    (Self<T>(p)->*F)(reinterpret_cast<typename PointerArg<decltype(F)>::type>(l));
    return DefaultResult();
}
template <class T, auto F> LRESULT EdgeRect(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    (Self<T>(p)->*F)(static_cast<UINT>(w), reinterpret_cast<LPRECT>(l));
    return DefaultResult();
}
template <class T, auto F> LRESULT NcCalcSize(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    (Self<T>(p)->*F)(static_cast<BOOL>(w), reinterpret_cast<NCCALCSIZE_PARAMS*>(l));
    return DefaultResult();
}
template <class T, auto F> LRESULT Timer(CCmdTarget* p, UINT, WPARAM w, LPARAM) {
    (Self<T>(p)->*F)(static_cast<UINT_PTR>(w));
    return DefaultResult();
}
template <class T, auto F> LRESULT DrawItem(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    (Self<T>(p)->*F)(static_cast<int>(w), reinterpret_cast<LPDRAWITEMSTRUCT>(l));
    return TRUE;
}

} // namespace afxcrack

#define AFX_ON(message, kind, fn) {message, message, 0, 0, &afxcrack::kind<ThisClass, &ThisClass::fn>},

#define ON_MESSAGE(message, memberFxn)                                                                       \
    {message, message, 0, 0, &afxcrack::WParamLParam<ThisClass, memberFxn>},
#define ON_COMMAND(id, memberFxn) {WM_COMMAND, WM_COMMAND, 0, id, &afxcrack::Void<ThisClass, memberFxn>},
#define ON_BN_CLICKED(id, memberFxn)                                                                         \
    {WM_COMMAND, WM_COMMAND, BN_CLICKED, id, &afxcrack::Void<ThisClass, memberFxn>},

#define ON_WM_CREATE() AFX_ON(WM_CREATE, Create, OnCreate)
#define ON_WM_DESTROY() AFX_ON(WM_DESTROY, Void, OnDestroy)
#define ON_WM_MOVE() AFX_ON(WM_MOVE, Move, OnMove)
#define ON_WM_SIZE() AFX_ON(WM_SIZE, Size, OnSize)
#define ON_WM_PAINT() AFX_ON(WM_PAINT, Void, OnPaint)
#define ON_WM_ERASEBKGND() AFX_ON(WM_ERASEBKGND, EraseBkgnd, OnEraseBkgnd)
#define ON_WM_CTLCOLOR()                                                                                     \
    {WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, 0, 0, &afxcrack::CtlColor<ThisClass, &ThisClass::OnCtlColor>},
#define ON_WM_DRAWITEM() AFX_ON(WM_DRAWITEM, DrawItem, OnDrawItem)
#define ON_WM_ENABLE() AFX_ON(WM_ENABLE, Bool, OnEnable)
#define ON_WM_TIMER() AFX_ON(WM_TIMER, Timer, OnTimer)
#define ON_WM_MOUSEMOVE() AFX_ON(WM_MOUSEMOVE, FlagsPoint, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_ON(WM_LBUTTONDOWN, FlagsPoint, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_ON(WM_LBUTTONUP, FlagsPoint, OnLButtonUp)
#define ON_WM_MOUSEACTIVATE() AFX_ON(WM_MOUSEACTIVATE, WndHitMsg, OnMouseActivate)
#define ON_WM_SETCURSOR() AFX_ON(WM_SETCURSOR, WndHitMsg, OnSetCursor)
#define ON_WM_CONTEXTMENU() AFX_ON(WM_CONTEXTMENU, ContextMenu, OnContextMenu)
#define ON_WM_NCHITTEST() AFX_ON(WM_NCHITTEST, NcHitTest, OnNcHitTest)
#define ON_WM_NCLBUTTONDOWN() AFX_ON(WM_NCLBUTTONDOWN, FlagsPoint, OnNcLButtonDown)
#define ON_WM_NCCALCSIZE() AFX_ON(WM_NCCALCSIZE, NcCalcSize, OnNcCalcSize)
#define ON_WM_NCACTIVATE() AFX_ON(WM_NCACTIVATE, BoolResultBool, OnNcActivate)
#define ON_WM_GETMINMAXINFO() AFX_ON(WM_GETMINMAXINFO, LParamPtr, OnGetMinMaxInfo)
#define ON_WM_WINDOWPOSCHANGED() AFX_ON(WM_WINDOWPOSCHANGED, LParamPtr, OnWindowPosChanged)
#define ON_WM_MOVING() AFX_ON(WM_MOVING, EdgeRect, OnMoving)
#define ON_WM_SIZING() AFX_ON(WM_SIZING, EdgeRect, OnSizing)
