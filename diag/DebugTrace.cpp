#include "diag/DebugTrace.h"
#include "framework/Text.h"
#include "platform/Platform.h"

#include <cstdlib>

namespace {

CDebugTrace* g_trace = nullptr;
LARGE_INTEGER g_frequency = {};

// A formatted message may be long (a path, a joined text); lines beyond this are cut.
constexpr size_t kMessageUnits = 2048;
constexpr size_t kLineUnits = kMessageUnits + 64;

void RunExitStep() {
    if (g_trace) g_trace->Exit();
}

}  // namespace

uint32_t RecordWord(const void* address) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
}

CDebugTrace::CDebugTrace() {
    g_trace = this;
    AttachInstanceRecord();
    ReadSwitch();
    TraceLog(L"Last build at %s %s", TEXT(__DATE__), TEXT(__TIME__));
    atexit(&RunExitStep);
}

CDebugTrace::~CDebugTrace() {
    Exit();
    if (g_trace == this) g_trace = nullptr;
}

CDebugTrace* CDebugTrace::Current() { return g_trace; }

void CDebugTrace::AttachInstanceRecord() {
    wchar_t name[260];
    FormatText(name, 260, L"Object_System_%s_%x", L"stackDeepth", GetCurrentProcessId());
    m_mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TraceInstanceRecord), name);
    if (!m_mapping) return;
    m_record = static_cast<TraceInstanceRecord*>(MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!m_record || m_record->owner != 0) return;

    m_slots = new TraceSlotTable;
    m_slots->entries = static_cast<uint32_t(*)[2]>(malloc(256 * sizeof(uint32_t[2])));
    for (unsigned char& flag : m_slots->inUse) flag = 0;
    m_slots->usedCount = 0;
    m_record->owner = RecordWord(this);
    m_record->slotTable = RecordWord(m_slots);
}

void CDebugTrace::ReadSwitch() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key, L"SysLog", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS)
        m_enabled = value != 0;
    RegCloseKey(key);
}

void CDebugTrace::Exit() {
    if (m_record && m_record->owner == RecordWord(this)) {
        m_record->owner = 0;
        if (m_slots) {
            for (size_t i = 0; i < 256; ++i) {
                if (!m_slots->inUse[i]) continue;
                m_slots->entries[i][0] = m_slots->entries[i][1] = 0;
                m_slots->inUse[i] = 0;
                --m_slots->usedCount;
            }
            free(m_slots->entries);
            delete m_slots;
            m_slots = nullptr;
        }
        m_record->slotTable = 0;
    }
    if (m_record) UnmapViewOfFile(m_record);
    if (m_mapping) CloseHandle(m_mapping);
    m_record = nullptr;
    m_mapping = nullptr;
}

bool FormatTraceLine(wchar_t* buffer, size_t units, DWORD processId, DWORD threadId, double milliseconds,
                     const wchar_t* message) {
    return FormatText(buffer, units, L"[%s+%.4x:%.4x] %8.3f %s\n", L"QVK", processId, threadId, milliseconds, message);
}

void TraceLog(const wchar_t* format, ...) {
    if (!g_trace || !g_trace->Enabled()) return;

    wchar_t message[kMessageUnits];
    va_list args;
    va_start(args, format);
    FormatTextV(message, kMessageUnits, format, args);
    va_end(args);

    if (g_frequency.QuadPart == 0) QueryPerformanceFrequency(&g_frequency);
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    const double ms = g_frequency.QuadPart ? counter.QuadPart * 1000.0 / g_frequency.QuadPart : 0.0;

    wchar_t line[kLineUnits];
    if (!FormatTraceLine(line, kLineUnits, GetCurrentProcessId(), GetCurrentThreadId(), ms,
                         message)) {
        // A cut line still ends its line.
        line[kLineUnits - 2] = L'\n';
        line[kLineUnits - 1] = L'\0';
    }
    Platform().OutputDebugString(line);
}
