#include "skin/LayeredWindowApi.h"

#include "framework/WinApp.h"

namespace skin {
namespace {

// One entry point of "User32.DLL", held for the length of one call: the library reference taken here is
// given back when the object goes out of scope.
class CUser32Entry {
public:
    explicit CUser32Entry(const char* name) : m_library(AfxLoadSystemLibrary(L"User32.DLL")) {
        if (m_library != nullptr)
            m_entry = GetProcAddress(m_library, name);
    }
    ~CUser32Entry() {
        if (m_library != nullptr)
            FreeLibrary(m_library);
    }
    CUser32Entry(const CUser32Entry&) = delete;
    CUser32Entry& operator=(const CUser32Entry&) = delete;

    // The entry point as a function of type F, or null when it is missing.
    template <class F> F As() const { return reinterpret_cast<F>(reinterpret_cast<void*>(m_entry)); }

private:
    HMODULE m_library;
    FARPROC m_entry = nullptr;
};

using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                            DWORD);
using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using UpdateLayeredWindowIndirectFn = BOOL(WINAPI*)(HWND, const UPDATELAYEREDWINDOWINFO*);

} // namespace

bool CallUpdateLayeredWindow(HWND hWnd, HDC hdcDst, POINT* pptDst, SIZE* psize, HDC hdcSrc, POINT* pptSrc,
                             COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags) {
    CUser32Entry entry("UpdateLayeredWindow");
    const auto update = entry.As<UpdateLayeredWindowFn>();
    if (update == nullptr)
        return false;
    return update(hWnd, hdcDst, pptDst, psize, hdcSrc, pptSrc, crKey, pblend, dwFlags) != FALSE;
}

bool CallSetLayeredWindowAttributes(HWND hWnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags) {
    CUser32Entry entry("SetLayeredWindowAttributes");
    const auto set = entry.As<SetLayeredWindowAttributesFn>();
    if (set == nullptr)
        return false;
    set(hWnd, crKey, bAlpha, dwFlags);
    return true;
}

bool CallUpdateLayeredWindowIndirect(HWND hWnd, const UPDATELAYEREDWINDOWINFO* pInfo) {
    CUser32Entry entry("UpdateLayeredWindowIndirect");
    const auto update = entry.As<UpdateLayeredWindowIndirectFn>();
    return update != nullptr && update(hWnd, pInfo) != FALSE;
}

} // namespace skin
