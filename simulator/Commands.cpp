#include "simulator/Commands.h"

#include "simulator/Device.h"
#include "simulator/Journal.h"
#include "simulator/OptionsWindow.h"

namespace sim {
namespace {

// The version of an adapter plugged in by a plain `arrive`: an ordinary one, well outside the
// range the program hands over to its sibling.
constexpr unsigned long kDefaultVersion = 0x0200;
// A script is meant for seconds, not days; a larger wait is more likely a typo.
constexpr long long kLongestWait = 3600 * 1000;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::vector<std::wstring> SplitWords(const std::wstring& command) {
    std::vector<std::wstring> words;
    size_t i = 0;
    while (i < command.size()) {
        while (i < command.size() && IsBlank(command[i])) ++i;
        size_t start = i;
        while (i < command.size() && !IsBlank(command[i])) ++i;
        if (i > start) words.push_back(command.substr(start, i - start));
    }
    return words;
}

// Command words are plain ASCII, so folding only A..Z keeps every other character intact.
std::wstring Lowered(std::wstring word) {
    for (wchar_t& c : word)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return word;
}

int DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

bool NumberIn(const std::wstring& word, long long low, long long high, long long* value) {
    return ParseNumber(word, value) && *value >= low && *value <= high;
}

// Carries out the command; false when it is not a command of the language or its arguments
// do not fit. Nothing has changed when it returns false.
bool Execute(const std::vector<std::wstring>& words, bool allowWait, DWORD* waitMs, bool* isWait) {
    const std::wstring verb = Lowered(words[0]);
    const size_t args = words.size() - 1;
    long long a = 0, b = 0;
    if (args == 0) {
        if (verb == L"online") { SetOnline(true); return true; }
        if (verb == L"offline") { SetOnline(false); return true; }
        if (verb == L"arrive") { Arrive(kDefaultVersion); return true; }
        if (verb == L"remove") { Remove(); return true; }
        if (verb == L"offhook") { SetOffHook(true); return true; }
        if (verb == L"onhook") { SetOffHook(false); return true; }
        if (verb == L"options") return OpenOptionsWindow();
        return false;
    }
    if (args == 1 && verb == L"arrive" && NumberIn(words[1], 0, 0xFFFFFFFFLL, &a)) {
        Arrive(static_cast<unsigned long>(a));
        return true;
    }
    if (args == 2 && verb == L"volumes" && NumberIn(words[1], kNoVolume, 100, &a) &&
        NumberIn(words[2], kNoVolume, 100, &b)) {
        SetDeviceVolumes(static_cast<int>(a), static_cast<int>(b));
        return true;
    }
    if (args == 1 && verb == L"wait" && allowWait && NumberIn(words[1], 0, kLongestWait, &a)) {
        *waitMs = static_cast<DWORD>(a);
        *isWait = true;
        return true;
    }
    return false;
}

}

std::vector<std::wstring> SplitCommands(const std::wstring& text) {
    std::vector<std::wstring> commands;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != L';' && text[i] != L'\n' && text[i] != L'\r') continue;
        size_t first = start, last = i;
        while (first < last && IsBlank(text[first])) ++first;
        while (last > first && IsBlank(text[last - 1])) --last;
        if (last > first) commands.push_back(text.substr(first, last - first));
        start = i + 1;
    }
    return commands;
}

bool ParseNumber(const std::wstring& word, long long* value) {
    size_t i = 0;
    const bool negative = !word.empty() && word[0] == L'-';
    if (negative) ++i;
    int base = 10;
    if (word.size() - i > 2 && word[i] == L'0' && (word[i + 1] == L'x' || word[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i == word.size()) return false;
    long long number = 0;
    for (; i < word.size(); ++i) {
        const int digit = DigitValue(word[i]);
        if (digit < 0 || digit >= base) return false;
        number = number * base + digit;
        if (number > 0xFFFFFFFFLL) return false;  // wider than anything the language carries
    }
    *value = negative ? -number : number;
    return true;
}

Outcome RunCommand(const std::wstring& command, bool allowWait, DWORD* waitMs) {
    const std::vector<std::wstring> words = SplitWords(command);
    if (words.empty()) return Outcome::Done;
    // The journal shows the command as written, blanks evened out, so tests can match it.
    std::wstring tidy = words[0];
    for (size_t i = 1; i < words.size(); ++i) tidy += L" " + words[i];
    bool isWait = false;
    if (!Execute(words, allowWait, waitMs, &isWait)) {
        Journal(L"error " + tidy);
        return Outcome::Failed;
    }
    Journal(L"command " + tidy);
    return isWait ? Outcome::Wait : Outcome::Done;
}

bool RunCommandsNow(const std::wstring& text) {
    bool allUnderstood = true;
    DWORD unused = 0;
    for (const std::wstring& command : SplitCommands(text))
        if (RunCommand(command, false, &unused) == Outcome::Failed) allUnderstood = false;
    return allUnderstood;
}

}
