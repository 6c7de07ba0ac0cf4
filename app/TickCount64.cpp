// GetTickCount64 for the threading runtime that the compiler links in statically.
//
// That runtime calls GetTickCount64 for its timed waits, which kernel32 has only from Vista on: imported, the
// name alone would keep Windows XP's loader from starting the program at all. Defining the import slot here
// resolves the runtime's reference inside the exe instead of against kernel32, and the slot's function takes
// the system's GetTickCount64 where there is one and a performance-counter clock where there is none.
#include "app/CounterClock.h"

namespace {

using TickCount64Fn = ULONGLONG(WINAPI*)();

ULONGLONG WINAPI CounterTickCount() {
    return static_cast<ULONGLONG>(qxrv::CounterMilliseconds());
}

ULONGLONG WINAPI TickCount64() {
    // Resolved on first use. No guarded static: the runtime's own waits come through here. Two threads that
    // race both store the same answer. kernel32 is in every process from its start, so nothing is loaded.
    static TickCount64Fn volatile s_clock = nullptr;
    TickCount64Fn clock = s_clock;
    if (clock == nullptr) {
        const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
        clock = kernel != NULL ? reinterpret_cast<TickCount64Fn>(
                                     reinterpret_cast<void*>(::GetProcAddress(kernel, "GetTickCount64")))
                               : nullptr;
        if (clock == nullptr)
            clock = &CounterTickCount;
        s_clock = clock;
    }
    return clock();
}

} // namespace

// The import slot of GetTickCount64 under the name the runtime's calls go through: a stdcall name on 32-bit
// Windows carries a leading "_" and its argument bytes, on 64-bit it is the plain name.
#if defined(__i386__)
#define QXRV_TICK_COUNT64_SLOT "__imp__GetTickCount64@0"
#else
#define QXRV_TICK_COUNT64_SLOT "__imp_GetTickCount64"
#endif
extern "C" {
extern const TickCount64Fn g_tickCount64Slot __asm__(QXRV_TICK_COUNT64_SLOT);
const TickCount64Fn g_tickCount64Slot = &TickCount64;
}
