#include "tests/inproc/ProgramTree.h"
#include "app/Configuration.h"

#include <windows.h>
#include <cstdlib>

ProgramTree::ProgramTree() : m_dir(GetModuleDir().text) {
    wchar_t saved[32768];
    const DWORD got = GetEnvironmentVariableW(L"APPDATA", saved, 32768);
    m_hadAppData = got > 0 && got < 32768;
    if (m_hadAppData) m_savedAppData = saved;
    SetAppData(m_appData.Path());
    RemoveTree(m_dir + L"\\Resource");
    RemoveTree(m_dir + L"\\Language");
    CreateDirectoryW((m_dir + L"\\Resource").c_str(), nullptr);
    CreateDirectoryW((m_dir + L"\\Language").c_str(), nullptr);
}

ProgramTree::~ProgramTree() {
    RemoveTree(m_dir + L"\\Resource");
    RemoveTree(m_dir + L"\\Language");
    SetEnvironmentVariableW(L"APPDATA", m_hadAppData ? m_savedAppData.c_str() : nullptr);
}

bool ProgramTree::InstallSample() const {
    const wchar_t* dist = _wgetenv(L"TELVARION_DIST");
    if (!dist) return false;
    const std::wstring from = dist;
    return CopyTree(from + L"\\Resource", m_dir + L"\\Resource") && CopyTree(from + L"\\Language", m_dir + L"\\Language");
}

void ProgramTree::WriteInstallIni(const std::string& text) const { WriteTextFile(InstallIni(), text); }

void ProgramTree::WriteUserIni(const std::string& text, const std::wstring& software) const {
    CreateDirectoryW((m_appData.Path() + L"\\" + software).c_str(), nullptr);
    WriteTextFile(UserIni(software), text);
}

void ProgramTree::WriteLanguageFile(const std::wstring& name, const std::string& text) const {
    WriteTextFile(LanguageDir() + L"\\" + name, text);
}

void ProgramTree::SetAppData(const std::wstring& value) const {
    SetEnvironmentVariableW(L"APPDATA", value.empty() ? nullptr : value.c_str());
}

std::string SampleInstallIni(const std::string& version) {
    return "[SoftInfo]\r\nSoftware=Telvarion\r\nVersion=" + version +
           "\r\n[Company]\r\nCompany=Telvarion\r\n"
           "[Telvarion]\r\nSWText=Telvarion Test Panel\r\nSoftware=Telvarion\r\nCopyright=(c) test\r\n"
           "[Device]\r\niSpkVolume=80\r\niMicVolume=60\r\n";
}
