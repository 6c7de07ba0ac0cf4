// Redirects calls the executable makes to a system DLL, for test builds of the program that count or fail
// chosen system calls without touching the program's code.
#pragma once

#include "framework/Prelude.h"

#include <cstddef>

namespace qxrv::test {

// Points the executable's import address table entry for dll!name (matched without regard to case for the
// DLL) at replacement and returns the address it held, or null when the executable does not import it by
// name.
void* PatchImport(const char* dll, const char* name, void* replacement);

// One entry of a redirect table: dll!name goes to replacement, and *original keeps the address it held.
struct ImportRedirect {
    const char* dll;
    const char* name;
    void** original;
    void* replacement;
};

// Applies every redirect of the table. An original stays as it was when the executable does not import that
// call.
void PatchImports(const ImportRedirect* redirects, size_t count);
template <size_t N> void PatchImports(const ImportRedirect (&redirects)[N]) {
    PatchImports(redirects, N);
}

} // namespace qxrv::test

// The table entry for dll!name, with the original kept in g_real_<name> and the replacement named
// <prefix>_<name>.
#define QXRV_REDIRECT(dll, name, prefix)                                                                     \
    qxrv::test::ImportRedirect {                                                                             \
        dll, #name, reinterpret_cast<void**>(&g_real_##name), reinterpret_cast<void*>(&prefix##_##name)      \
    }
