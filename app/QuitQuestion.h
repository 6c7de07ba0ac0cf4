// The closing question both launcher windows ask before the program ends.
#pragma once

#include "app/LauncherText.h"
#include "framework/Wnd.h"

// Asks lpszText over pOwner with Yes and No; true for Yes. One question at a time for the whole launcher: a
// close click that arrives while a question is open gets no second one and counts as No. Such clicks can
// only be posted (the question disables its owner), but posted ones would otherwise stack up questions
// without end.
inline bool AskToQuit(CWnd* pOwner, LPCWSTR lpszText) {
    static bool s_bAsking = false;
    if (s_bAsking)
        return false;
    s_bAsking = true;
    const bool bYes = pOwner->MessageBox(lpszText, kLauncherTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
    s_bAsking = false;
    return bYes;
}
