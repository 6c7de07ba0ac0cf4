// Files and helper programs that a test build puts beside its executables.
#pragma once

#include "framework/Prelude.h"

#include <string>

namespace qxrv::test {

// The full path of a file in the folder of this executable.
std::wstring BesideThisExe(const wchar_t* name);

// How a helper program run by RunBesideThisExe went.
struct ChildRun {
    bool started = false; // the program could be started
    bool ended = false;   // it ended by itself in the time given; otherwise it was ended
    DWORD exitCode = 0;
    DWORD elapsedMs = 0;
};
// Runs the program name from this executable's folder with arguments and waits at most nTimeoutMs for it to
// end, with bPump dispatching this thread's messages meanwhile (for a program that talks to its windows). A
// program still running by then is ended.
ChildRun RunBesideThisExe(const wchar_t* name, const std::wstring& arguments, DWORD nTimeoutMs,
                          bool bPump = false);

} // namespace qxrv::test
