// The launcher's windows found the way a user finds them on the desktop: by title, owner and buttons.
#pragma once

#include "framework/Prelude.h"

#include <string>
#include <vector>

namespace qxrv::test {

// Top-level windows of a process (0: this one), shown or hidden.
std::vector<HWND> TopLevelWindows(DWORD processId = 0);
// A window's title.
std::wstring WindowTextOf(HWND hwnd);
// A window's class name.
std::wstring WindowClassOf(HWND hwnd);

struct LauncherWindows {
    HWND main = NULL;        // shown, unowned, with the launcher's title and no maximise button
    HWND startPage = NULL;   // the main window's companion
    HWND startView = NULL;   // the start page's web view
    HWND game = NULL;        // the dialog with the maximise button, shown or hidden
    HWND btnMinimize = NULL; // the main window's two buttons
    HWND btnClose = NULL;
};

// The launcher's windows among the top-level windows of processId (0: this process); what is not there stays
// NULL. A start page or game window that lost its browser still counts.
LauncherWindows FindLauncherWindows(DWORD processId = 0);

} // namespace qxrv::test
