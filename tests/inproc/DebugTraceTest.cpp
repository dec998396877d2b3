// The debug trace: the line format, the registry switch and the per-process instance record.
#include <doctest/doctest.h>
#include "diag/DebugTrace.h"
#include "tests/inproc/SeamRecorder.h"

#include <string>

namespace {
const wchar_t kKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// Sets (or with size 0 deletes) the SysLog value for the duration of a test.
class SysLogValue {
public:
    SysLogValue(DWORD type, const void* data, DWORD size) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        if (size)
            RegSetValueExW(m_key, L"SysLog", 0, type, static_cast<const BYTE*>(data), size);
        else
            RegDeleteValueW(m_key, L"SysLog");
    }
    ~SysLogValue() {
        RegDeleteValueW(m_key, L"SysLog");
        RegCloseKey(m_key);
    }

private:
    HKEY m_key = nullptr;
};
}  // namespace

TEST_CASE("trace: the line carries tag, process and thread ids and the milliseconds") {
    wchar_t line[128];
    REQUIRE(FormatTraceLine(line, 128, 0x1a2c, 0x0f04, 123456 * 1000.0 / 1000000, L"hello"));
    CHECK(std::wstring(line) == L"[QVK+1a2c:0f04]  123.456 hello\n");
    REQUIRE(FormatTraceLine(line, 128, 0x12345, 0x7, 12345678.9, L"x"));
    CHECK(std::wstring(line) == L"[QVK+12345:0007] 12345678.900 x\n");
    CHECK_FALSE(FormatTraceLine(line, 10, 1, 2, 3.0, L"too long for ten units"));
    CHECK(wcslen(line) == 9);
}

TEST_CASE("trace: the switch is on only for a nonzero four-byte value") {
    const DWORD one = 1, zero = 0;
    const unsigned char eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    struct Case { const char* name; DWORD type; const void* data; DWORD size; bool on; };
    const Case cases[] = {
        {"one", REG_DWORD, &one, 4, true},
        {"zero", REG_DWORD, &zero, 4, false},
        {"missing", REG_DWORD, nullptr, 0, false},
        {"longer than four bytes", REG_BINARY, eight, 8, false},
        {"binary, four bytes", REG_BINARY, &one, 4, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        SysLogValue value(c.type, c.data, c.size);
        SeamRecorder seam;
        {
            CDebugTrace trace;
            CHECK(trace.Enabled() == c.on);
            CHECK(seam.HasDebugLine(L"Last build at ") == c.on);
            TraceLog(L"delfile = %s", L"C:\\x");
            CHECK(seam.HasDebugLine(L"delfile = C:\\x") == c.on);
        }
    }
}

TEST_CASE("trace: a trace line never overflows, whatever the message") {
    const DWORD one = 1;
    SysLogValue value(REG_DWORD, &one, 4);
    SeamRecorder seam;
    CDebugTrace trace;
    std::wstring huge(10000, L'x');
    TraceLog(L"Version = [%s]", huge.c_str());
    REQUIRE(!seam.debug.empty());
    const std::wstring& line = seam.debug.back();
    CHECK(line.size() < 4096);
    CHECK(line.back() == L'\n');
}

TEST_CASE("trace: the instance record names the first trace object of the process") {
    wchar_t name[64];
    swprintf(name, 64, L"Object_System_stackDeepth_%lx", GetCurrentProcessId());
    // The test executable has no trace object of its own, so the first one here registers.
    CDebugTrace* first = new CDebugTrace;
    HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, name);
    REQUIRE(mapping);
    auto* record = static_cast<const TraceInstanceRecord*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    REQUIRE(record);
    CHECK(record->owner == RecordWord(first));
    CHECK(record->slotTable != 0);
    {
        CDebugTrace second;  // finds the record taken and leaves it alone
        CHECK(record->owner == RecordWord(first));
    }
    CHECK(record->owner == RecordWord(first));
    delete first;
    CHECK(record->owner == 0);
    UnmapViewOfFile(record);
    CloseHandle(mapping);
}
