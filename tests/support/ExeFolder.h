// Files that a test build puts beside its executables.
#pragma once

#include "framework/Prelude.h"

#include <string>

namespace qxrv::test {

// The full path of a file in the folder of this executable.
std::wstring BesideThisExe(const wchar_t* name);

} // namespace qxrv::test
