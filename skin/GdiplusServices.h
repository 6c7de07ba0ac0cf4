// Starting and stopping GDI+ the way the program uses it, and making GDI+ objects without crashing on a
// failed allocation.
#pragma once

#include "framework/GdiplusPrelude.h"

#include <new>
#include <utility>

namespace skin {

// Starts GDI+ version 1 with no debug callback, its background thread and external codecs allowed, and
// stores the token in *token (0 when start-up fails).
Gdiplus::Status StartGdiplus(ULONG_PTR* token);

// Shuts GDI+ down with a token from StartGdiplus and clears it; does nothing for a token of 0.
void StopGdiplus(ULONG_PTR* token);

// Owns one start-up of GDI+ for a scope: for tools and tests, where no application object does it.
class CGdiplusSession {
public:
    CGdiplusSession() { m_status = StartGdiplus(&m_token); }
    ~CGdiplusSession() { StopGdiplus(&m_token); }
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;

    bool IsRunning() const { return m_token != 0; }
    Gdiplus::Status Status() const { return m_status; }

private:
    ULONG_PTR m_token = 0;
    Gdiplus::Status m_status = Gdiplus::GenericError;
};

// Allocates a GDI+ object from GDI+'s own allocator and constructs it, or returns null when the memory cannot
// be had. A plain `new T(...)` would run the constructor on the null that GdipAlloc returns. Release the
// result with `delete`, which gives the memory back to the same allocator.
template <class T, class... Args> T* GdiplusNew(Args&&... args) {
    void* memory = T::operator new(sizeof(T));
    if (memory == nullptr)
        return nullptr;
    return ::new (memory) T(std::forward<Args>(args)...);
}

// A font of the named family, or of the system's generic sans-serif family when that family is not installed
// (GDI+'s own named-family constructor gives up instead). Null only when no memory is left; the caller
// deletes it.
Gdiplus::Font* NewFontOrSansSerif(const WCHAR* familyName, Gdiplus::REAL emSize, INT style,
                                  Gdiplus::Unit unit);

} // namespace skin
