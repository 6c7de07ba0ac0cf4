// Starting and stopping GDI+ the way the program uses it.
#pragma once

#include "framework/GdiplusPrelude.h"

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

} // namespace skin
