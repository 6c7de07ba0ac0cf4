#include "tests/support/ExeFolder.h"

namespace qxrv::test {

std::wstring BesideThisExe(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring dir = path;
    dir.erase(dir.find_last_of(L"\\/") + 1);
    return dir + name;
}

} // namespace qxrv::test
