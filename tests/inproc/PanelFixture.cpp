#include "tests/inproc/PanelFixture.h"
#include "app/Configuration.h"
#include "i18n/LanguageSelection.h"
#include "device/DeviceLibraryContract.h"
#include "simulator/SimulatorControl.h"
#include "ui/PanelLook.h"

namespace {
template <class Fn>
Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
}  // namespace

PanelFixture::PanelFixture() {
    tree.InstallSample();
    g_wDeviceVersion = 0;
    g_szLanguagePath[0] = L'\0';
    panel::SuppressedShowCount() = 0;
    TakeQuitMessage();
}

PanelFixture::~PanelFixture() {
    // A panel that did not quit leaves the library started; stop it as the exit path would,
    // so the library's window does not outlive its module.
    if (panel && IsWindow(panel->LibraryWindow())) {
        if (auto uninstall = Export<UninstallTelvarionFn>(m_simulator, TELVARION_UNINSTALL_NAME)) uninstall();
    }
    if (Hwnd()) DestroyWindow(Hwnd());
    app.m_pMainWnd = nullptr;
    panel.reset();
    if (languages.HookHandle()) {
        UnhookWindowsHookEx(languages.HookHandle());
        languages.ClearHookHandle();
    }
    PumpFor(0);
    TakeQuitMessage();
    if (m_simulator) FreeLibrary(m_simulator);
}

bool PanelFixture::Start() {
    PrepareConfiguration();
    const std::wstring library = tree.Dir() + L"\\Telvarion.dll";
    // The fixture keeps a reference of its own, so it can drive the simulator after the panel
    // has freed its one.
    if (!m_simulator) m_simulator = LoadLibraryW(library.c_str());
    panel = std::make_unique<CTelvarionDlg>();
    panel->SetLibraryModule(LoadLibraryW(library.c_str()));
    app.m_pMainWnd = panel.get();
    languages.InstallHook();
    const bool created = panel->Create();
    PumpFor(0);
    return created;
}

bool PanelFixture::Sim(const std::wstring& commands) {
    auto command = Export<TelvarionSimCommandFn>(m_simulator, "TelvarionSimCommand");
    return command && command(commands.c_str());
}

std::wstring PanelFixture::Journal() const {
    auto journal = Export<TelvarionSimJournalFn>(m_simulator, "TelvarionSimJournal");
    if (!journal) return L"";
    std::wstring text(70000, L'\0');
    const int length = journal(text.data(), static_cast<int>(text.size()));
    text.resize(length >= 0 && static_cast<size_t>(length) < text.size() ? length : wcslen(text.c_str()));
    return text;
}

void PanelFixture::ClearJournal() {
    if (auto clear = Export<TelvarionSimClearJournalFn>(m_simulator, "TelvarionSimClearJournal")) clear();
}

bool PanelFixture::WaitForJournal(const std::wstring& text, DWORD timeoutMs) {
    return PumpUntil([&] { return Journal().find(text) != std::wstring::npos; }, timeoutMs);
}
