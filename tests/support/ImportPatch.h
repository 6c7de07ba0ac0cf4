// Redirects calls the executable makes to a system DLL, for test builds of the program that count or fail
// chosen system calls without touching the program's code.
#pragma once

#include "framework/Prelude.h"

namespace qxrv::test {

// Points the executable's import address table entry for dll!name (matched without regard to case for the
// DLL) at replacement and returns the address it held, or null when the executable does not import it by
// name.
void* PatchImport(const char* dll, const char* name, void* replacement);

// Redirects dll!name to replacement as it is constructed and keeps the address the entry held in *original,
// which stays as it was when the executable does not import that call. Made at namespace scope, it redirects
// before main runs.
struct ImportRedirect {
    ImportRedirect(const char* dll, const char* name, void** original, void* replacement);
};

} // namespace qxrv::test

// Redirects dll!name to <prefix>_<name> before main runs, with the original kept in g_real_<name>.
#define QXRV_REDIRECT(dll, name, prefix)                                                                     \
    const qxrv::test::ImportRedirect g_redirect_##name(dll, #name, reinterpret_cast<void**>(&g_real_##name), \
                                                       reinterpret_cast<void*>(&prefix##_##name))
