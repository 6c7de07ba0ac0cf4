// The performance-counter clock that stands in for GetTickCount64 where Windows lacks it (XP), and that the
// benchmarks time with.
#include "app/CounterClock.h"

#include <gtest/gtest.h>

namespace {

// The clock read between two looks at the tick count, so that a pause of the thread between the reads cannot
// make the two disagree.
struct Reading {
    DWORD ticksBefore;
    double counter;
    DWORD ticksAfter;
};

Reading Read() {
    Reading reading;
    reading.ticksBefore = GetTickCount();
    reading.counter = qxrv::CounterMilliseconds();
    reading.ticksAfter = GetTickCount();
    return reading;
}

} // namespace

// It counts milliseconds at the system's pace, never goes back, and resolves below one millisecond.
TEST(CounterClock, KeepsPaceWithTheTickCountAndNeverGoesBack) {
    const Reading start = Read();
    double previous = start.counter;
    bool sawFraction = false;
    for (int i = 0; i < 100000; ++i) {
        const double now = qxrv::CounterMilliseconds();
        ASSERT_GE(now, previous);
        sawFraction = sawFraction || (now != previous && now - previous < 1.0);
        previous = now;
    }
    Sleep(200);
    const Reading end = Read();
    const double counted = end.counter - start.counter;
    EXPECT_GE(counted, 190.0);
    // The tick count moves in steps of up to 16 ms on Windows.
    EXPECT_GE(counted, static_cast<double>(end.ticksBefore - start.ticksAfter) - 20.0);
    EXPECT_LE(counted, static_cast<double>(end.ticksAfter - start.ticksBefore) + 20.0);
    EXPECT_TRUE(sawFraction);
}
