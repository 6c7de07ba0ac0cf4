#include "tests/support/ExeFolder.h"

#include "tests/support/Pump.h"

namespace qxrv::test {

std::wstring BesideThisExe(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring dir = path;
    dir.erase(dir.find_last_of(L"\\/") + 1);
    return dir + name;
}

ChildRun RunBesideThisExe(const wchar_t* name, const std::wstring& arguments, DWORD nTimeoutMs, bool bPump) {
    ChildRun run;
    const std::wstring exe = BesideThisExe(name);
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const DWORD start = ::GetTickCount();
    if (!::CreateProcessW(exe.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return run;
    run.started = true;
    if (bPump)
        PumpUntil([&] { return ::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, nTimeoutMs);
    run.ended = ::WaitForSingleObject(pi.hProcess, bPump ? 0 : nTimeoutMs) == WAIT_OBJECT_0;
    run.elapsedMs = ::GetTickCount() - start;
    if (!run.ended) {
        ::TerminateProcess(pi.hProcess, 0xDEAD);
        ::WaitForSingleObject(pi.hProcess, 5000);
    }
    ::GetExitCodeProcess(pi.hProcess, &run.exitCode);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return run;
}

} // namespace qxrv::test
