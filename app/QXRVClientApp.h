// The application object: prepares the process, runs the main window modally and shuts down.
#pragma once

#include "framework/WinApp.h"

class CQXRVClientApp : public CWinApp {
public:
    CQXRVClientApp();

    // Runs the whole launcher inside the main window's modal loop and returns FALSE, so the framework ends
    // the process without a message loop of its own.
    BOOL InitInstance() override;
    // Shuts GDI+ down once every picture, font and brush of the program is gone.
    int ExitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CQXRVClientApp theApp;
