// Runs the thread's message queue from a test, the way the program's loops do.
#pragma once

#include "framework/Prelude.h"

#include <functional>

namespace qxrv::test {

// Dispatches every message that is waiting, then returns. With bPreTranslate the framework's pre-translation
// walk runs first (as in the modal loop), so dialogs get their keyboard handling.
void PumpPending(bool bPreTranslate = false);
// Pumps for about nMilliseconds, waking for new messages as they arrive.
void PumpFor(DWORD nMilliseconds, bool bPreTranslate = false);
// Pumps until condition() is true or nTimeoutMs has passed; returns condition()'s last value.
bool PumpUntil(const std::function<bool()>& condition, DWORD nTimeoutMs = 5000, bool bPreTranslate = false);
// Pumps, and reads the screen through shows() every few milliseconds, until shows() holds or nTimeoutMs has
// passed; returns shows()'s last value. What a window draws reaches the screen later, when the system copies
// its surface there, and another thread's or process's window draws on its own schedule: a test waits for the
// picture it checks, not for the windows that will show it.
bool WaitForScreen(const std::function<bool()>& shows, DWORD nTimeoutMs = 5000);

} // namespace qxrv::test
