// The closing question both launcher windows ask before the program ends.
#pragma once

#include "app/LauncherText.h"
#include "framework/Wnd.h"

// Whether one of the closing questions is on screen now.
inline bool& QuitQuestionOpen() {
    static bool s_bOpen = false;
    return s_bOpen;
}

// Asks lpszText over pOwner with Yes and No; true for Yes. One question at a time for the whole launcher: a
// close click that arrives while a question is open gets no second one and counts as No. Such clicks can
// only be posted (the question disables its owner), but posted ones would otherwise stack up questions
// without end.
inline bool AskToQuit(CWnd* pOwner, LPCWSTR lpszText) {
    if (QuitQuestionOpen())
        return false;
    QuitQuestionOpen() = true;
    const bool bYes = pOwner->MessageBox(lpszText, kLauncherTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
    QuitQuestionOpen() = false;
    return bYes;
}
