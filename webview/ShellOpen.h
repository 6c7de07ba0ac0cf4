// Hands a URL to the desktop's default web browser.
//
// Only http and https URLs go to the shell: a page must not make the launcher open local files, run
// programs or call other protocol handlers. Tests swap the opener so that nothing is started.
#pragma once

#include "framework/Prelude.h"

// Whether url starts with "http:" or "https:", in any letter case.
bool IsWebUrl(LPCWSTR url);

// Opens url with the shell when IsWebUrl(url); drops anything else silently.
void OpenWebUrlInShell(LPCWSTR url);

// What actually starts the shell; returns the opener in place before. nullptr restores the shell's own.
using ShellOpener = void (*)(LPCWSTR url);
ShellOpener SetShellOpener(ShellOpener opener);
