// The program in its own process under faults: art missing or corrupt, GDI+ not starting, the layered-window
// functions not found, the game window or its browser control not made. Each run must start, show what it
// can, let a game link through without harm and end through its closing question with exit code 0.
#include "app/LauncherText.h"
#include "res/resource.h"
#include "tests/app/AppTestKit.h"
#include "tests/app/LauncherProcess.h"
#include "tests/app/UiAgent.h"
#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

using namespace qxrv::test;

namespace {

enum class Art { Intact, Missing, Corrupt };

// One resource of an exe, its name or type an integer ID or a string.
struct ResourceItem {
    std::wstring type, name; // "#<id>" for an integer ID
    WORD language;
    std::vector<BYTE> bytes;
};

std::wstring IdText(LPCWSTR id) {
    return IS_INTRESOURCE(id) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(id)) : std::wstring(id);
}
LPCWSTR IdOf(const std::wstring& text) {
    return text[0] == L'#' ? MAKEINTRESOURCEW(std::stoul(text.substr(1))) : text.c_str();
}

BOOL CALLBACK CollectLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR out) {
    HRSRC found = ::FindResourceExW(module, type, name, language);
    HGLOBAL loaded = found != NULL ? ::LoadResource(module, found) : NULL;
    const BYTE* bytes = loaded != NULL ? static_cast<const BYTE*>(::LockResource(loaded)) : NULL;
    if (bytes != NULL)
        reinterpret_cast<std::vector<ResourceItem>*>(out)->push_back(
            {IdText(type), IdText(name), language, {bytes, bytes + ::SizeofResource(module, found)}});
    return TRUE;
}
BOOL CALLBACK CollectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR out) {
    ::EnumResourceLanguagesW(module, type, name, CollectLanguage, out);
    return TRUE;
}
BOOL CALLBACK CollectType(HMODULE module, LPWSTR type, LONG_PTR out) {
    ::EnumResourceNamesW(module, type, CollectName, out);
    return TRUE;
}

std::vector<ResourceItem> ResourcesOf(const std::wstring& exe) {
    std::vector<ResourceItem> items;
    HMODULE module = ::LoadLibraryExW(exe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (module != NULL) {
        ::EnumResourceTypesW(module, CollectType, reinterpret_cast<LONG_PTR>(&items));
        ::FreeLibrary(module);
    }
    return items;
}

bool IsArt(const ResourceItem& item) {
    return item.type == L"PNG" || item.type == IdText(RT_BITMAP);
}

// The program's art as a build would carry it: untouched, left out, or replaced by bytes that do not decode.
// The copy's resources are rewritten with the system's resource editor, so only the art differs.
bool WriteArtVariant(const std::wstring& source, const std::wstring& target, Art art) {
    if (!::CopyFileW(source.c_str(), target.c_str(), FALSE))
        return false;
    if (art == Art::Intact)
        return true;
    // A PNG cut short after its signature; a bitmap header that promises far more pixels than follow.
    const std::vector<BYTE> cutPng = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A,
                                      0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    std::vector<BYTE> cutBitmap(sizeof(BITMAPINFOHEADER) + 12);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(cutBitmap.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = 4000;
    header->biHeight = 4000;
    header->biPlanes = 1;
    header->biBitCount = 24;
    header->biCompression = BI_RGB;

    std::vector<ResourceItem> items = ResourcesOf(source);
    size_t nArt = 0;
    HANDLE update = ::BeginUpdateResourceW(target.c_str(), TRUE);
    if (items.empty() || update == NULL)
        return false;
    bool ok = true;
    for (ResourceItem& item : items) {
        if (IsArt(item)) {
            ++nArt;
            if (art == Art::Missing)
                continue;
            item.bytes = item.type == L"PNG" ? cutPng : cutBitmap;
        }
        ok &= ::UpdateResourceW(update, IdOf(item.type), IdOf(item.name), item.language, item.bytes.data(),
                                static_cast<DWORD>(item.bytes.size())) != FALSE;
    }
    ok &= ::EndUpdateResourceW(update, !ok) != FALSE;
    // Checked, so the runs below really meet the art they are meant to.
    size_t nArtAfter = 0;
    for (const ResourceItem& item : ResourcesOf(target)) {
        if (!IsArt(item))
            continue;
        ++nArtAfter;
        ok &= item.bytes.size() < 100;
    }
    return ok && nArt == 19 && nArtAfter == (art == Art::Missing ? 0 : nArt);
}

// Sets the environment the fault build reads at start-up and gives back the exe, for a process about to
// start.
const std::wstring& WithFaults(const std::wstring& exe, const wchar_t* faults, const std::wstring& link) {
    ::SetEnvironmentVariableW(L"QXRV_FAULTS", faults);
    ::SetEnvironmentVariableW(L"QXRV_LINK_1", link.c_str());
    return exe;
}

// One run of the fault build of the program. Unlike a sound run it may have no game window.
class FaultyClient : public LauncherProcess {
public:
    FaultyClient(const std::wstring& exe, const wchar_t* faults, const std::wstring& link)
        : LauncherProcess(WithFaults(exe, faults, link), BesideThisExe(L"fault-report.txt"),
                          L"QXRV_FAULT_REPORT") {
        for (const wchar_t* name : {L"QXRV_FAULTS", L"QXRV_LINK_1"})
            ::SetEnvironmentVariableW(name, NULL);
    }

    // "struck=<n> gdiplus_shutdowns=<n>" read back; false when the report is missing.
    bool ReadReport(long* pStruck, long* pShutdowns) const {
        return std::sscanf(Report().c_str(), "struck=%ld gdiplus_shutdowns=%ld", pStruck, pShutdowns) == 2;
    }
};

struct FaultCase {
    const char* name;
    const wchar_t* faults;
    Art art;
    bool gameWindow;     // the game window exists
    bool linkFollowed;   // a game link reaches the game window
    bool gdiplusRunning; // GDI+ started, so it is shut down once at the end
};

const FaultCase kCases[] = {
    {"no fault", L"", Art::Intact, true, true, true},
    {"art missing", L"", Art::Missing, true, true, true},
    {"art corrupt", L"", Art::Corrupt, true, true, true},
    {"GDI+ does not start", L"gdiplus", Art::Intact, true, true, false},
    {"GDI+ out of memory", L"gdiplus-memory", Art::Intact, true, true, true},
    {"User32.DLL cannot be loaded", L"user32-dll", Art::Intact, true, true, true},
    {"layered-window entry points missing", L"user32-entry", Art::Intact, true, true, true},
    {"game window not created", L"game-window", Art::Intact, false, false, true},
    {"game window given up after its handle was taken", L"game-window-late", Art::Intact, false, false, true},
    {"game browser control not created", L"game-webview", Art::Intact, true, true, true},
    // The start page has no view either, so no link can come from it.
    {"no browser control at all", L"webview", Art::Intact, true, false, true},
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class Faults : public testing::TestWithParam<FaultCase> {
protected:
    void SetUp() override { ExtendWatchdog(60); }
};

TEST_P(Faults, StartsShowsWhatItCanTakesAGameLinkAndEndsCleanly) {
    const FaultCase& c = GetParam();
    const wchar_t* suffix[] = {L"intact", L"noart", L"badart"};
    const std::wstring exe = BesideThisExe(
        (std::wstring(L"QXRVClientFaults-") + suffix[static_cast<int>(c.art)] + L".exe").c_str());
    ASSERT_TRUE(WriteArtVariant(BesideThisExe(QXRV_CLIENT_FAULTS), exe, c.art));

    FaultyClient client(exe, c.faults, L"http://127.0.0.1:9/play?id=5&client=1");
    ASSERT_TRUE(client.Started());
    ASSERT_TRUE(client.WaitForWindows(20000, false)) << "the main window and the start page show";
    EXPECT_TRUE(::IsWindowVisible(client.StartPage()));
    EXPECT_EQ(c.gameWindow, client.Game() != NULL);
    const RECT rcMain = WindowRectOf(client.Main());
    std::printf("[%s] main %ldx%ld, start page %s, game window %s\n", c.name, rcMain.right - rcMain.left,
                rcMain.bottom - rcMain.top, ::IsWindowVisible(client.StartPage()) ? "shown" : "hidden",
                client.Game() ? "made" : "none");

    // A game link from the start page: the game window takes over if there is one; otherwise nothing changes.
    ::PostMessageW(client.StartPage(), FollowLinkMessage(), IDC_START_PAGE, 1);
    HWND closeFrom = client.Main();
    const wchar_t* question = kAskQuitStarting;
    if (c.linkFollowed) {
        ASSERT_TRUE(WaitUntil(
            [&] { return ::IsWindowVisible(client.Game()) && !::IsWindowVisible(client.Main()); }, 10000));
        closeFrom = client.Game();
        question = kAskQuitRunning;
    } else {
        ::Sleep(1000);
        EXPECT_EQ(-1, client.ExitCode(0));
        EXPECT_TRUE(::IsWindowVisible(client.Main()));
        EXPECT_TRUE(::IsWindowVisible(client.StartPage()));
        if (client.Game() != NULL) {
            EXPECT_FALSE(::IsWindowVisible(client.Game()));
        }
    }

    // What the close button sends its window, without needing a button big enough to click.
    PostButtonClicked(::GetDlgItem(closeFrom, IDC_CLOSE));
    SeenMessageBox seen;
    ASSERT_TRUE(AnswerMessageBox(kLauncherTitle, IDYES, &seen, 10000, client.Pid()));
    EXPECT_EQ(question, seen.text);
    EXPECT_EQ(0, client.ExitCode(10000));

    long struck = -1, shutdowns = -1;
    ASSERT_TRUE(client.ReadReport(&struck, &shutdowns)) << "the process ended through its own exit path";
    if (c.faults[0] != L'\0')
        EXPECT_GT(struck, 0) << "the fault was met";
    else
        EXPECT_EQ(0, struck);
    EXPECT_EQ(c.gdiplusRunning ? 1 : 0, shutdowns);
    ::DeleteFileW(exe.c_str());
}

INSTANTIATE_TEST_SUITE_P(Program, Faults, testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

} // namespace
