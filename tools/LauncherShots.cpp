// Takes the README's pictures of the launcher: the main window as it starts, and the game window once a game
// link has been followed (restored from its maximised start, so its frame and shape show). Runs under Wine,
// on the test build of the program (which can be told to follow a link, since Wine's browser control cannot
// show the start page to click in).
//
//     launcher_shots <program.exe> <output folder>
#include "app/LauncherText.h"
#include "framework/GdiplusPrelude.h"
#include "res/resource.h"
#include "skin/GdiplusServices.h"
#include "tests/app/AppTestKit.h"
#include "tests/app/LauncherProcess.h"
#include "tests/app/UiAgent.h"
#include "tests/support/Backdrop.h"
#include "tests/support/Pump.h"

#include <cstdio>
#include <string>

using namespace qxrv::test;

namespace {

bool PngEncoder(CLSID* pClsid) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
        return false;
    std::string buffer(size, '\0');
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(&buffer[0]);
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) == L"image/png") {
            *pClsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// Saves the screen rectangle rc as a PNG file.
bool SaveScreen(RECT rc, const std::wstring& path) {
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    HDC screen = ::GetDC(NULL);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP shot = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(mem, shot);
    ::BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(NULL, screen);
    CLSID png;
    bool saved = false;
    {
        Gdiplus::Bitmap picture(shot, NULL);
        saved = PngEncoder(&png) && picture.Save(path.c_str(), &png, NULL) == Gdiplus::Ok;
    }
    ::DeleteObject(shot);
    return saved;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: launcher_shots <program.exe> <output folder>\n");
        return 2;
    }
    const std::wstring outDir = argv[2];
    skin::CGdiplusSession gdiplus;
    const CBackdrop desktop(WholeScreen(), RGB(58, 64, 74), WS_EX_NOACTIVATE); // a quiet desktop
    PumpFor(200);

    const std::wstring link =
        L"http://127.0.0.1:" + std::to_wstring(QXRV_TEST_START_PORT) + L"/play?id=1&client=1";
    ::SetEnvironmentVariableW(L"QXRV_LINK_1", link.c_str());
    LauncherProcess program(argv[1]);
    if (!program.Started() || !program.WaitForWindows()) {
        std::fprintf(stderr, "shots: the launcher did not show its windows\n");
        return 1;
    }
    PumpFor(1500);
    RECT main = WindowRectOf(program.Main());
    ::InflateRect(&main, 24, 24);
    const bool mainSaved = SaveScreen(main, outDir + L"\\main-window.png");

    ::PostMessageW(program.StartPage(), FollowLinkMessage(), IDC_START_PAGE, 1);
    if (!WaitUntil([&] { return ::IsWindowVisible(program.Game()) != FALSE; }, 10000)) {
        std::fprintf(stderr, "shots: the game window did not show\n");
        return 1;
    }
    // Restored, so the picture shows the window's own frame and shape on the desktop.
    PostButtonClicked(::GetDlgItem(program.Game(), IDC_RESTORE));
    WaitUntil([&] { return !::IsZoomed(program.Game()); }, 5000);
    PumpFor(1500);
    RECT game = WindowRectOf(program.Game());
    ::InflateRect(&game, 24, 24);
    const bool gameSaved = SaveScreen(game, outDir + L"\\game-window.png");

    PostButtonClicked(::GetDlgItem(program.Game(), IDC_CLOSE));
    AnswerMessageBox(kLauncherTitle, IDYES, nullptr, 10000, program.Pid());
    const long exitCode = program.ExitCode(10000);
    std::printf("shots: main window %s, game window %s, launcher exit code %ld\n",
                mainSaved ? "saved" : "FAILED", gameSaved ? "saved" : "FAILED", exitCode);
    return mainSaved && gameSaved && exitCode == 0 ? 0 : 1;
}
