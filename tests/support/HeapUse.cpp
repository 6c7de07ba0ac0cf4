#include "tests/support/HeapUse.h"

#include <malloc.h>
#include <psapi.h>

namespace qxrv::test {

namespace {

size_t BusyBytes(HANDLE heap) {
    size_t busy = 0;
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(heap);
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            busy += entry.cbData;
    }
    HeapUnlock(heap);
    return busy;
}

} // namespace

HeapUse HeapInUse() {
    HeapUse use;
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    for (DWORD i = 0; i < count && i < 64; ++i)
        use.all += BusyBytes(heaps[i]);
    use.crt = BusyBytes(reinterpret_cast<HANDLE>(_get_heap_handle()));
    return use;
}

SIZE_T CommittedBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

} // namespace qxrv::test
