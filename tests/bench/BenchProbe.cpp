// Tests that misbehave on purpose; TestBench.cpp runs them in a child process with --gtest_filter.
#include "framework/Prelude.h"

#include <gtest/gtest.h>

TEST(Probe, Crashes) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}

TEST(Probe, Hangs) {
    for (;;)
        Sleep(1000);
}

TEST(Probe, Passes) { EXPECT_EQ(2, 1 + 1); }
