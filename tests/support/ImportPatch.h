// Redirects calls the executable makes to a system DLL, for test builds of the program that count or fail
// chosen system calls without touching the program's code.
#pragma once

#include "framework/Prelude.h"

namespace qxrv::test {

// Points the executable's import address table entry for dll!name (matched without regard to case for the
// DLL) at replacement and returns the address it held, or null when the executable does not import it by
// name.
void* PatchImport(const char* dll, const char* name, void* replacement);

} // namespace qxrv::test
