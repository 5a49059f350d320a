// Prints the handle count and committed memory of every running process of
// the named program image ("orvane.exe"), one line each: what a soak
// compares at its start and end. Runs under Wine beside the program.
// Usage: process_stats.exe IMAGE
// windows.h first: the others build on it.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <psapi.h>
#include <tlhelp32.h>
#include <vector>
#include <winternl.h>

namespace {

// The process's handles as the system's handle table lists them (Wine
// answers no other way for another process).
unsigned long HandlesOf(DWORD process) {
    std::vector<unsigned char> table(1 << 20);
    ULONG needed = 0;
    while (NtQuerySystemInformation(SystemHandleInformation, table.data(), ULONG(table.size()),
                                    &needed) == LONG(0xC0000004)) { // STATUS_INFO_LENGTH_MISMATCH
        table.resize(table.size() * 2);
    }
    const auto* handles = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(table.data());
    unsigned long count = 0;
    for (ULONG i = 0; i < handles->Count; ++i) {
        count += handles->Handle[i].OwnerPid == process ? 1 : 0;
    }
    return count;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: process_stats.exe IMAGE\n", stderr);
        return 2;
    }
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, argv[1]) != 0) {
            continue;
        }
        HANDLE process =
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID);
        PROCESS_MEMORY_COUNTERS memory{};
        if (process != nullptr && GetProcessMemoryInfo(process, &memory, sizeof memory)) {
            std::printf("handles %lu committed %zu KiB working-set %zu KiB\n",
                        HandlesOf(entry.th32ProcessID), memory.PagefileUsage / 1024,
                        memory.WorkingSetSize / 1024);
            ++found;
        }
        if (process != nullptr) {
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
    return found > 0 ? 0 : 1;
}
