// The switchable debug trace: lines go to the debugger output while the per-user registry
// value "SysLog" is nonzero. One object per process, built during static initialisation.
#pragma once
#include <windows.h>
#include <cstdint>

// The per-process record that names the trace object and its slot table, in shared memory
// named after the process id. Its words are 32 bits wide whatever the architecture.
struct TraceInstanceRecord {
    uint32_t owner;
    uint32_t slotTable;
};

struct TraceSlotTable {
    uint32_t (*entries)[2];  // 256 entries of two words, not cleared at creation
    unsigned char inUse[256];
    uint32_t usedCount;
};

class CDebugTrace {
public:
    CDebugTrace();
    ~CDebugTrace();
    CDebugTrace(const CDebugTrace&) = delete;
    CDebugTrace& operator=(const CDebugTrace&) = delete;

    bool Enabled() const { return m_enabled != 0; }
    // Detaches the instance record; safe to run more than once.
    void Exit();

    // The trace object of the process, or null before it exists.
    static CDebugTrace* Current();

private:
    void AttachInstanceRecord();
    void ReadSwitch();

    HANDLE m_mapping = nullptr;
    TraceInstanceRecord* m_record = nullptr;
    BOOL m_enabled = FALSE;
    TraceSlotTable* m_slots = nullptr;  // only while this object owns the record
};

// printf-style trace line ("%s" takes a wide string); nothing happens while the switch is off.
void TraceLog(const wchar_t* format, ...);

// The full trace line for a message, as TraceLog writes it; exposed for its own tests.
// Returns false when it had to be cut to fit `units`.
bool FormatTraceLine(wchar_t* buffer, size_t units, DWORD processId, DWORD threadId, double milliseconds,
                     const wchar_t* message);

// The 32-bit form of an address for the instance record: the address itself on 32-bit
// Windows; on 64-bit, where it cannot fit, its low 32 bits, so the record still says "taken".
uint32_t RecordWord(const void* address);
