#include "simulator/OptionsWindow.h"

#include "simulator/Commands.h"
#include "simulator/Device.h"
#include "simulator/SimulatorWindow.h"

#include <commctrl.h>
#include <cwchar>
#include <string>

namespace sim {
namespace {

enum ControlId {
    kOnline = 101,
    kAdapter,
    kVersion,
    kOffHook,
    kSpeakerLabel,
    kSpeaker,
    kMicLabel,
    kMic,
    kLanguage,
    kClose,
};

constexpr int kClientWidth = 280;
constexpr int kClientHeight = 276;
constexpr int kVersionChars = 6;  // "0x" and four hex digits

HWND g_options = nullptr;

HWND Item(int id) { return GetDlgItem(g_options, id); }

HWND AddControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id,
                int x, int y, int width, int height) {
    HWND control = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
    // A stock font: shared by the system, so there is nothing to release afterwards.
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void CreateControls(HWND window) {
    const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
    const DWORD label = SS_LEFTNOWORDWRAP;
    AddControl(window, WC_BUTTONW, L"Skype online", check, kOnline, 10, 10, 260, 20);
    AddControl(window, WC_BUTTONW, L"Adapter connected", check, kAdapter, 10, 36, 140, 20);
    AddControl(window, WC_STATICW, L"Version (hex):", label, 0, 154, 39, 70, 16);
    HWND version = AddControl(window, WC_EDITW, L"", WS_BORDER | WS_TABSTOP, kVersion,
                              226, 36, 44, 20);
    SendMessageW(version, EM_SETLIMITTEXT, kVersionChars, 0);
    AddControl(window, WC_BUTTONW, L"Handset off hook", check, kOffHook, 10, 62, 260, 20);
    AddControl(window, WC_STATICW, L"", label, kSpeakerLabel, 10, 94, 260, 16);
    AddControl(window, TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, kSpeaker, 10, 110, 260, 28);
    AddControl(window, WC_STATICW, L"", label, kMicLabel, 10, 146, 260, 16);
    AddControl(window, TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, kMic, 10, 162, 260, 28);
    AddControl(window, WC_STATICW, L"", label | SS_PATHELLIPSIS, kLanguage, 10, 204, 260, 16);
    AddControl(window, WC_BUTTONW, L"Close", BS_PUSHBUTTON | WS_TABSTOP, kClose, 190, 240, 80, 24);
    for (int id : {kSpeaker, kMic}) {
        SendMessageW(Item(id), TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
        SendMessageW(Item(id), TBM_SETTICFREQ, 10, 0);
    }
}

void ShowVersion(unsigned short version) {
    wchar_t text[16];
    swprintf(text, sizeof text / sizeof text[0], L"%04X", static_cast<unsigned>(version));
    SetWindowTextW(Item(kVersion), text);
}

void ShowVolume(int labelId, int sliderId, const wchar_t* name, int volume, bool present) {
    wchar_t text[64];
    if (volume == kNoVolume)
        swprintf(text, sizeof text / sizeof text[0], L"%ls: not available", name);
    else
        swprintf(text, sizeof text / sizeof text[0], L"%ls: %d", name, volume);
    SetWindowTextW(Item(labelId), text);
    // The trackbar stands for the adapter's own knob; with no adapter there is none to turn.
    EnableWindow(Item(sliderId), present && volume != kNoVolume);
    if (volume != kNoVolume) SendMessageW(Item(sliderId), TBM_SETPOS, TRUE, volume);
}

void Refresh() {
    const DeviceState& device = Device();
    // Setting a check or a trackbar position sends no notification, so this cannot loop back.
    CheckDlgButton(g_options, kOnline, device.online ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(g_options, kAdapter, device.present ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(g_options, kOffHook, device.offHook ? BST_CHECKED : BST_UNCHECKED);
    // The connected adapter's number is a fact, not a choice; the field is for the next one.
    if (device.present) ShowVersion(device.version);
    EnableWindow(Item(kVersion), !device.present);
    ShowVolume(kSpeakerLabel, kSpeaker, L"Speaker volume", device.speaker, device.present);
    ShowVolume(kMicLabel, kMic, L"Microphone volume", device.mic, device.present);
    std::wstring language = L"Language file: ";
    language += *LanguagePath() ? LanguagePath() : L"(none yet)";
    SetWindowTextW(Item(kLanguage), language.c_str());
}

std::wstring ArrivalCommand() {
    wchar_t text[kVersionChars + 2] = L"";
    GetWindowTextW(Item(kVersion), text, kVersionChars + 2);
    // The field is hex whether or not its text says so; the journal always shows "0x".
    const bool prefixed = text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    return std::wstring(L"arrive 0x") + (prefixed ? text + 2 : text);
}

void OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    const bool checked = IsDlgButtonChecked(g_options, id) == BST_CHECKED;
    switch (id) {
    case kOnline: RunCommandsNow(checked ? L"online" : L"offline"); break;
    case kAdapter: RunCommandsNow(checked ? ArrivalCommand() : L"remove"); break;
    case kOffHook: RunCommandsNow(checked ? L"offhook" : L"onhook"); break;
    case kClose: DestroyWindow(g_options); return;
    default: return;
    }
    // A rejected command changed nothing, but the check box has already flipped itself.
    Refresh();
}

void OnSlider(HWND slider) {
    const DeviceState& device = Device();
    const int position = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    int speaker = device.speaker, mic = device.mic;
    if (slider == Item(kSpeaker)) speaker = position;
    else if (slider == Item(kMic)) mic = position;
    else return;
    if (speaker == device.speaker && mic == device.mic) return;
    wchar_t command[48];
    swprintf(command, sizeof command / sizeof command[0], L"volumes %d %d", speaker, mic);
    RunCommandsNow(command);
}

LRESULT CALLBACK OptionsProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        g_options = hwnd;
        CreateControls(hwnd);
        ShowVersion(Device().version ? Device().version : 0x0200);
        Refresh();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_HSCROLL:
        if (lp) OnSlider(reinterpret_cast<HWND>(lp));
        return 0;
    case WM_DESTROY:
        if (hwnd == g_options) g_options = nullptr;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}

bool RegisterOptionsClass(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = OptionsProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kOptionsClass;
    return RegisterClassExW(&wc) != 0;
}

void UnregisterOptionsClass(HINSTANCE instance) { UnregisterClassW(kOptionsClass, instance); }

bool OpenOptionsWindow() {
    if (!SimulatorWindow()) return false;
    if (!g_options) {
        const DWORD style = WS_CAPTION | WS_SYSMENU;
        const DWORD exStyle = WS_EX_TOOLWINDOW;
        RECT frame = {0, 0, kClientWidth, kClientHeight};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
        // Owned by the simulator's window, so it never outlives the installation.
        CreateWindowExW(exStyle, kOptionsClass, L"Telvarion simulator options", style, CW_USEDEFAULT, CW_USEDEFAULT,
                        frame.right - frame.left, frame.bottom - frame.top, SimulatorWindow(), nullptr,
                        ModuleInstance(), nullptr);
        if (!g_options) return false;
    }
    ShowWindow(g_options, SW_SHOWNORMAL);
    SetForegroundWindow(g_options);
    return true;
}

void CloseOptionsWindow() {
    if (g_options) DestroyWindow(g_options);
    g_options = nullptr;
}

void RefreshOptionsWindow() {
    if (g_options) Refresh();
}

}
