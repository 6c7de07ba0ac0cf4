// The one-line reports that test builds of the program write when they end, for the test that started them.
#pragma once

#include "framework/Prelude.h"

#include <string>

namespace qxrv::test {

// Writes one line, printf-style, to the file named by the environment variable variable; nothing when the
// variable is unset.
void WriteReport(LPCWSTR variable, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The first line of the report at path, or "" when there is none.
std::string ReadReport(const std::wstring& path);

} // namespace qxrv::test
