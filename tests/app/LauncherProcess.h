// The program started in a process of its own, and its windows found the way a user finds them.
#pragma once

#include "framework/Prelude.h"

#include "tests/support/ExeFolder.h"
#include "tests/support/LauncherWindows.h"

#include <string>

namespace qxrv::test {

class LauncherProcess {
public:
    // Starts exePath; when reportPath is given, a test build writes its report there: the file the
    // environment variable reportVariable names to it (GdiplusProbe.cpp, FaultProbe.cpp).
    explicit LauncherProcess(const std::wstring& exePath, const std::wstring& reportPath = L"",
                             LPCWSTR reportVariable = L"QXRV_GDIPLUS_REPORT");
    // Ends the process if it still runs.
    ~LauncherProcess();
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    bool Started() const { return m_started; }
    DWORD Pid() const { return m_pi.dwProcessId; }

    // Waits until the main window shows, its start page exists and, unless bGameWindow is false, the game
    // window exists too, and notes them. A start page or game window that lost its browser still counts.
    bool WaitForWindows(DWORD nTimeoutMs = 20000, bool bGameWindow = true);
    HWND Main() const { return m_found.main; }
    HWND StartPage() const { return m_found.startPage; }
    HWND Game() const { return m_found.game; }

    // Asks the main window to close and answers Yes; true once the process has ended.
    bool CloseFromMainWindow(DWORD nTimeoutMs = 10000);
    // The exit code once the process has ended within nTimeoutMs; -1 while it still runs.
    long ExitCode(DWORD nTimeoutMs);
    // The first line of the report, or "".
    std::string Report() const;

private:
    std::wstring m_report;
    PROCESS_INFORMATION m_pi = {};
    bool m_started = false;
    LauncherWindows m_found;
};

} // namespace qxrv::test
