// Hands a URL to the desktop's default web browser.
//
// Only web pages go to the shell: a page must not make the launcher open local files, run programs or call
// other protocol handlers, nor smuggle switches onto the command line that starts the registered browser.
// Tests swap the opener so that nothing is started.
#pragma once

#include "framework/Prelude.h"

#include <string>

// The longest URL handed on, in characters: the system's INTERNET_MAX_URL_LENGTH less its terminating NUL.
constexpr size_t kMaxShellUrlLength = 2083;

// The form of url that may go to the shell, or "" when it may not go at all. That is a well-formed absolute
// http or https URL with a host, as the system's URL functions read it, in the system's canonical form (which
// percent-encodes spaces), at most kMaxShellUrlLength characters, with no space, quote, backslash or control
// character left raw.
std::wstring ShellSafeWebUrl(LPCWSTR url);

// Opens url's safe form with the shell; drops a URL that has none silently.
void OpenWebUrlInShell(LPCWSTR url);

// What actually starts the shell; returns the opener in place before. nullptr restores the shell's own.
using ShellOpener = void (*)(LPCWSTR url);
ShellOpener SetShellOpener(ShellOpener opener);
