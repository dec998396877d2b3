// Runs the deployed program with the simulated adapter and prints its debugger output.
//   DemoRunner DIST_DIR                 interactive: runs until the program ends
//   DemoRunner DIST_DIR --scripted OUT  plays a short session, saving screenshots in OUT
#include "ids.h"
#include "tests/support/Debuggee.h"
#include "tests/support/ProgramWindows.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring g_shots;
int g_shotNumber = 0;

// Saves the whole screen as a 24-bit BMP.
void Screenshot(const wchar_t* name) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info = {sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD row = (w * 3 + 3) & ~3u;
    std::vector<unsigned char> pixels(static_cast<size_t>(row) * h);
    GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    wchar_t path[MAX_PATH];
    _snwprintf(path, MAX_PATH - 1, L"%s\\%02d-%s.bmp", g_shots.c_str(), ++g_shotNumber, name);
    path[MAX_PATH - 1] = 0;
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info + pixels.size()), 0, 0,
                             sizeof(BITMAPFILEHEADER) + sizeof info};
    HANDLE out = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info, sizeof info, &written, nullptr);
    WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
    wprintf(L"screenshot %ls\n", path);
}


HWND WaitForWindow(DWORD pid, const wchar_t* cls, bool visible, HWND except = nullptr) {
    for (int i = 0; i < 100; ++i) {
        for (HWND hwnd : WindowsOfProcess(pid, cls))
            if (hwnd != except && (!visible || IsWindowVisible(hwnd))) return hwnd;
        Sleep(50);
    }
    return nullptr;
}

void Simulate(DWORD pid, const std::wstring& commands) {
    SimulatorCommand(pid, commands);
    wprintf(L"simulator: %ls\n", commands.c_str());
}

void Command(HWND panel, int id) { PostMessageW(panel, WM_TRAYICON_COMMAND, TRAYCMD_MENU, id); }

// Opens the tray menu as a right click on the icon would, lets it show, then closes it.
void ShowTrayMenu(DWORD pid, HWND panel, const wchar_t* shot) {
    PostMessageW(panel, WM_TRAYICON_NOTIFY, IDR_TRAYMENU, WM_RBUTTONUP);
    HWND menu = WaitForWindow(pid, L"#32768", true);
    Sleep(400);
    if (menu) {
        // Open the language submenu too, so the picture shows the list of languages.
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0);
        Sleep(600);
    }
    Screenshot(shot);
    if (HWND owner = panel) PostMessageW(owner, WM_CANCELMODE, 0, 0);
    for (int i = 0; i < 3 && menu; ++i) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(500);
}

int Scripted(Debuggee& child) {
    const DWORD pid = child.ProcessId();
    HWND panel = FindPanel(pid, 10000);
    if (!panel) return 1;
    Sleep(800);
    Screenshot(L"panel-at-start");

    Simulate(pid, L"online");
    Sleep(500);
    Simulate(pid, L"arrive 0x0123");
    Sleep(2800);  // the saved volumes are applied two seconds after the arrival
    Command(panel, ID_TRAY_CONFIGURE);
    Sleep(800);
    Screenshot(L"panel-saved-volumes");
    Simulate(pid, L"volumes 20 90");
    Sleep(1600);  // the sliders follow the device within a second
    Screenshot(L"panel-sliders-moved");
    // The tray icon (top left under Xvfb) follows the status: Skype, adapter, handset.
    Simulate(pid, L"offhook");
    Sleep(700);
    Screenshot(L"tray-offhook");
    Simulate(pid, L"onhook; offline");
    Sleep(700);
    Screenshot(L"tray-skype-offline");

    ShowTrayMenu(pid, panel, L"tray-menu-english");
    Command(panel, 2);  // the second language of LangType.ini
    Sleep(800);
    ShowTrayMenu(pid, panel, L"tray-menu-switched");

    Command(panel, ID_APP_ABOUT);
    HWND about = WaitForWindow(pid, L"#32770", true, panel);
    Sleep(600);
    Screenshot(L"about-box");
    if (about) PostMessageW(about, WM_COMMAND, IDOK, 0);
    Sleep(400);

    Command(panel, ID_TRAY_EXIT);
    return child.WaitForExit(20000) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fwprintf(stderr, L"usage: DemoRunner DIST_DIR [--scripted SHOTS_DIR]\n");
        return 2;
    }
    const std::wstring dist = argv[1];
    const bool scripted = argc >= 4 && std::wstring(argv[2]) == L"--scripted";
    if (scripted) g_shots = argv[3];

    Debuggee child;
    const std::wstring exe = dist + L"\\Telvarion.exe";
    if (!child.Start(exe, L"\"" + exe + L"\"", dist)) {
        fwprintf(stderr, L"could not start %ls\n", exe.c_str());
        return 1;
    }
    int rc = 0;
    if (scripted) {
        rc = Scripted(child);
        if (!child.Exited()) child.Kill();
    } else {
        while (!child.WaitForExit(1000)) {}
    }
    wprintf(L"--- debugger output ---\n");
    for (const auto& line : child.Lines()) wprintf(L"%s\n", line.c_str());
    return rc;
}
