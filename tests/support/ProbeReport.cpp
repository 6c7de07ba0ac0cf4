#include "tests/support/ProbeReport.h"

#include <cstdarg>
#include <cstdio>

namespace qxrv::test {

void WriteReport(LPCWSTR variable, const char* format, ...) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(variable, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    FILE* file = _wfopen(path, L"w");
    if (file == NULL)
        return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(file, format, arguments);
    va_end(arguments);
    std::fputc('\n', file);
    std::fclose(file);
}

std::string ReadReport(const std::wstring& path) {
    std::string text;
    if (FILE* file = _wfopen(path.c_str(), L"r")) {
        char line[256] = {};
        if (std::fgets(line, sizeof(line), file))
            text = line;
        std::fclose(file);
    }
    return text;
}

} // namespace qxrv::test
