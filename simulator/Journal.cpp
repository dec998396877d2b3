#include "simulator/Journal.h"

#include <windows.h>

namespace sim {
namespace {

// The program polls the volumes every second, so the journal grows for as long as it runs;
// older lines go first, whole lines at a time, so that what remains still reads line by line.
constexpr size_t kJournalLimit = 64 * 1024 / sizeof(wchar_t);

std::wstring& Lines() {
    static std::wstring lines;
    return lines;
}

}

void Journal(const std::wstring& text) {
    std::wstring line = L"sim: " + text + L"\n";
    OutputDebugStringW(line.c_str());
    std::wstring& lines = Lines();
    lines += line;
    if (lines.size() > kJournalLimit) {
        size_t cut = lines.find(L'\n', lines.size() - kJournalLimit);
        lines.erase(0, cut == std::wstring::npos ? lines.size() : cut + 1);
    }
}

const std::wstring& JournalText() { return Lines(); }

void ClearJournal() { Lines().clear(); }

}
