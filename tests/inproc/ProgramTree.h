// The program's files for an in-process test: the program directory is this test executable's
// own, so Resource\ and Language\ are laid out beside it for the test's duration, and APPDATA
// points at a private folder. Everything is removed again afterwards.
#pragma once
#include "tests/support/TempDir.h"

#include <string>

class ProgramTree {
public:
    ProgramTree();
    ~ProgramTree();

    std::wstring Dir() const { return m_dir; }
    std::wstring InstallIni() const { return m_dir + L"\\Resource\\Custom.ini"; }
    std::wstring AppData() const { return m_appData.Path(); }
    std::wstring UserIni(const std::wstring& software = L"Telvarion") const {
        return m_appData.Path() + L"\\" + software + L"\\Custom.ini";
    }
    std::wstring LanguageDir() const { return m_dir + L"\\Language"; }

    // Copies the built distribution's Resource\ and Language\ (sealed, UTF-16 language files).
    bool InstallSample() const;
    // Writes Resource\Custom.ini (ANSI text as given).
    void WriteInstallIni(const std::string& text) const;
    void WriteUserIni(const std::string& text, const std::wstring& software = L"Telvarion") const;
    void WriteLanguageFile(const std::wstring& name, const std::string& text) const;
    // Sets APPDATA for this process; an empty value removes it.
    void SetAppData(const std::wstring& value) const;

private:
    std::wstring m_dir;
    TempDir m_appData{L"appdata"};
    std::wstring m_savedAppData;
    bool m_hadAppData = false;
};

// A small but complete installation copy: SoftInfo, Company and the application section.
std::string SampleInstallIni(const std::string& version = "3.0.1");
