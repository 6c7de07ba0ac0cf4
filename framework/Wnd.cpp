#include "framework/Wnd.h"

#include "framework/Exceptions.h"
#include "framework/WinApp.h"

#include <new>
#include <unordered_map>

namespace {

// The message a window procedure is handling, so Default() can pass it on unchanged.
struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT lastDefault; // what Default() returned for it, 0 until it is called
};

struct ThreadState {
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, CWnd*> temporary;
    CWnd* pWndInit = nullptr; // claimed by the next window created on the thread
    CurrentMessage* pCurrent = nullptr;
};

ThreadState& State() {
    thread_local ThreadState state;
    return state;
}

const wchar_t kDefaultClassName[] = L"QxrvWnd";

LPCWSTR RegisterDefaultClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcW; // every object's window is subclassed to AfxWndProc at creation
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kDefaultClassName;
        registered = ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    return kDefaultClassName;
}

} // namespace

LRESULT afxcrack::DefaultResult() {
    const CurrentMessage* pCurrent = State().pCurrent;
    return pCurrent ? pCurrent->lastDefault : 0;
}

// ---------------------------------------------------------------------------------------------------------
// Window procedure and creation hook

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ThreadState& state = State();
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    CurrentMessage current = {message, wParam, lParam, 0};
    CurrentMessage* pSaved = state.pCurrent;
    state.pCurrent = &current;
    LRESULT result = 0;
    // Exceptions must not unwind through the system's frames: the message fails instead.
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (const CException&) {
        result = message == WM_CREATE ? -1 : 0;
    } catch (const std::bad_alloc&) {
        result = message == WM_CREATE ? -1 : 0;
    }
    state.pCurrent = pSaved;

    if (message == WM_NCDESTROY)
        pWnd->OnFinalDestroy();
    return result;
}

LRESULT CALLBACK AfxCbtHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    ThreadState& state = State();
    if (nCode == HCBT_CREATEWND && state.pWndInit) {
        CWnd* pWnd = state.pWndInit;
        state.pWndInit = nullptr;
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (pWnd->Attach(hWnd)) {
            pWnd->PreSubclassWindow();
            pWnd->m_pfnSuper = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
        }
    }
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

CCreationScope::CCreationScope(CWnd* pWnd) {
    State().pWndInit = pWnd;
    m_hHook = ::SetWindowsHookExW(WH_CBT, AfxCbtHookProc, NULL, ::GetCurrentThreadId());
}

CCreationScope::~CCreationScope() {
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    State().pWndInit = nullptr;
}

BOOL AfxCheckCreated(CWnd* pWnd, HWND hWnd) {
    // The system may give up after the hook bound the object (a CBT hook's veto, say) without sending
    // WM_NCDESTROY: the object must not keep the dead handle, or it would look created and refuse to be
    // again.
    if (!hWnd && pWnd->m_hWnd && !::IsWindow(pWnd->m_hWnd)) {
        pWnd->UnsubclassWindow();
        return FALSE;
    }
    if (hWnd && pWnd->m_hWnd != hWnd) { // the hook could not bind it: a window nobody would destroy
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return hWnd != NULL;
}

// ---------------------------------------------------------------------------------------------------------
// CCmdTarget

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT nCode, UINT nID) const {
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nMessage != 0; ++pEntry) {
            if (message == WM_COMMAND) {
                if (pEntry->nMessage == WM_COMMAND && pEntry->nCode == nCode && pEntry->nID == nID)
                    return pEntry;
            } else if (pEntry->nMessage != WM_COMMAND && pEntry->nMessage <= message &&
                       message <= pEntry->nLastMessage) {
                return pEntry;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode) {
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (!pEntry)
        return FALSE;
    pEntry->pfnCrack(this, WM_COMMAND, MAKEWPARAM(nID, nCode), 0);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------------------
// CWnd: binding objects to windows

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_CTLCOLOR()
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL) {}

CWnd::~CWnd() {
    // A main window object that goes before its window (or never had one) must not stay registered.
    if (CWinApp* pApp = AfxGetApp(); pApp && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = NULL;
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // Only CWnd's own handling runs now: the derived parts are already gone.
        ::DestroyWindow(m_hWnd);
        if (m_hWnd) // not destroyed (another thread's window): at least stop routing it here
            UnsubclassWindow();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto& map = State().permanent;
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    CWnd*& pTemp = State().temporary[hWnd];
    if (!pTemp)
        pTemp = new CWnd;
    pTemp->m_hWnd = hWnd;
    return pTemp;
}

void CWnd::DeleteTempMap() {
    auto& map = State().temporary;
    for (auto& entry : map) {
        entry.second->m_hWnd = NULL; // the window is not ours to destroy
        delete entry.second;
    }
    map.clear();
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (!hWndNew || m_hWnd || FromHandlePermanent(hWndNew))
        return FALSE;
    State().permanent[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd && FromHandlePermanent(hWnd) == this)
        State().permanent.erase(hWnd);
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!::IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (!pfnOld) { // refused (e.g. another process's window)
        Detach();
        return FALSE;
    }
    m_pfnSuper = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND hItem = pParent && pParent->m_hWnd ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : NULL;
    return hItem && SubclassWindow(hItem);
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd && m_pfnSuper &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == AfxWndProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = NULL;
    return Detach();
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

void CWnd::OnFinalDestroy() {
    UnsubclassWindow();
    if (CWinApp* pApp = AfxGetApp(); pApp && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = NULL;
    PostNcDestroy(); // last: it may delete the object
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext*) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : NULL,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd)
        return FALSE;
    HWND hWnd;
    {
        CCreationScope scope(this);
        hWnd = ::CreateWindowExW(dwExStyle, lpszClassName ? lpszClassName : RegisterDefaultClass(),
                                 lpszWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent, nIDorHMenu,
                                 AfxGetInstanceHandle(), lpParam);
    }
    return AfxCheckCreated(this, hWnd);
}

BOOL CWnd::DestroyWindow() {
    HWND hWnd = m_hWnd;
    if (!hWnd)
        return FALSE;
    if (m_pfnSuper) // WM_NCDESTROY detaches the object, which may be gone when this returns
        return ::DestroyWindow(hWnd);
    BOOL bDestroyed = ::DestroyWindow(hWnd);
    if (FromHandlePermanent(hWnd) == this)
        Detach();
    else
        m_hWnd = NULL; // a temporary object: DeleteTempMap frees it
    return bDestroyed;
}

// ---------------------------------------------------------------------------------------------------------
// CWnd: message handling

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        *pResult = 0;
        return OnCommand(wParam, lParam);
    }
    if (message == WM_NOTIFY) {
        *pResult = 0;
        return OnNotify(wParam, lParam, pResult);
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(message, 0, 0);
    if (!pEntry)
        return FALSE;
    *pResult = pEntry->pfnCrack(this, message, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    CurrentMessage* pCurrent = State().pCurrent;
    if (!pCurrent)
        return 0;
    pCurrent->lastDefault = DefWindowProc(pCurrent->message, pCurrent->wParam, pCurrent->lParam);
    return pCurrent->lastDefault;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop || !(::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD))
            break; // reached the stop or the top-level window (GetParent would give its owner)
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND hControl = reinterpret_cast<HWND>(lParam);
    CWnd* pControl = hControl ? FromHandlePermanent(hControl) : nullptr;
    LRESULT result = 0;
    if (pControl && pControl != this && pControl->OnChildNotify(WM_COMMAND, wParam, lParam, &result))
        return TRUE;
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
    CWnd* pControl = pHeader ? FromHandlePermanent(pHeader->hwndFrom) : nullptr;
    return pControl && pControl != this && pControl->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

// Offers the message being handled to the control hControl's own object.
static BOOL ReflectToControl(CWnd* pParent, HWND hControl, LRESULT* pResult) {
    const CurrentMessage* pCurrent = State().pCurrent;
    CWnd* pControl = hControl ? CWnd::FromHandlePermanent(hControl) : nullptr;
    return pCurrent && pControl && pControl != pParent &&
           pControl->OnChildNotify(pCurrent->message, pCurrent->wParam, pCurrent->lParam, pResult);
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
    LRESULT result = 0;
    if (pWnd && ReflectToControl(this, pWnd->m_hWnd, &result))
        return reinterpret_cast<HBRUSH>(result);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    LRESULT result = 0;
    if (lpDrawItemStruct && lpDrawItemStruct->CtlType != ODT_MENU &&
        ReflectToControl(this, lpDrawItemStruct->hwndItem, &result))
        return;
    Default();
}

// ---------------------------------------------------------------------------------------------------------
// CWnd: window operations

static BOOL ModifyLong(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD dwOld = static_cast<DWORD>(::GetWindowLongW(hWnd, nIndex));
    DWORD dwNew = (dwOld & ~dwRemove) | dwAdd;
    if (dwNew == dwOld)
        return FALSE;
    ::SetWindowLongW(hWnd, nIndex, static_cast<LONG>(dwNew));
    if (nFlags)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
void CWnd::GetWindowText(CString& rString) const {
    int nLength = ::GetWindowTextLengthW(m_hWnd);
    LPWSTR pBuffer = rString.GetBuffer(nLength);
    int nCopied = ::GetWindowTextW(m_hWnd, pBuffer, nLength + 1);
    rString.ReleaseBuffer(nCopied);
}
int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
    if (!lpszCaption && AfxGetApp())
        lpszCaption = AfxGetApp()->m_pszAppName;
    return ::MessageBoxW(m_hWnd, lpszText, lpszCaption, nType);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    RECT rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (!::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi))
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &mi.rcWork, 0);
    const RECT& rcWork = mi.rcWork;

    // Over the alternate owner, else over the owner while it is showing, else in the work area.
    HWND hWndCenter = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndCenter && (!::IsWindowVisible(hWndCenter) || ::IsIconic(hWndCenter)))
        hWndCenter = NULL;
    RECT rcCenter = rcWork;
    if (hWndCenter)
        ::GetWindowRect(hWndCenter, &rcCenter);

    const int cx = rcWindow.right - rcWindow.left;
    const int cy = rcWindow.bottom - rcWindow.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
    // Inside the work area: right and bottom first, so that left and top win for a window too big for it.
    if (x + cx > rcWork.right)
        x = rcWork.right - cx;
    if (y + cy > rcWork.bottom)
        y = rcWork.bottom - cy;
    if (x < rcWork.left)
        x = rcWork.left;
    if (y < rcWork.top)
        y = rcWork.top;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
