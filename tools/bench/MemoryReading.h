// What this process holds, read between the soak benchmark's rounds: the working set and
// private bytes as the system counts them; the private memory committed in the address
// space as VirtualQuery sees it (under Wine this leaves out what Wine's own Unix side
// allocates); the blocks in use and the free space in its heaps; its GDI and USER objects,
// windows, threads and kernel handles. Wine answers GetGuiResources with nothing, so there
// the GDI objects are counted in the handle table Wine keeps in the process, checked first
// against a few brushes made for the purpose.
#pragma once

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <map>
#include <set>
#include <vector>

inline bool IsUnderWine()
{
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// -1: no way to count it here.
struct MemoryReading {
    double workingSetKb = 0;
    double privateKb = 0;
    double committedKb = 0;
    double heapBlocks = 0;
    double heapKb = 0;      // in busy heap blocks
    double heapFreeKb = 0;  // in free blocks of the heaps' committed memory
    double gdiObjects = -1;
    double userObjects = -1;
    double windows = 0;
    double threads = 0;
    double handles = -1;
};

namespace process_memory {

// Calls visit with every region of the address space.
template <class Visit>
void ForEachRegion(Visit visit)
{
    MEMORY_BASIC_INFORMATION region{};
    for (const BYTE* address = nullptr; ::VirtualQuery(address, &region, sizeof region) == sizeof region;) {
        visit(region);
        const BYTE* next = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
}

// Calls visit with every entry of every heap of the process, each heap locked meanwhile.
template <class Visit>
void ForEachHeapEntry(Visit visit)
{
    std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    for (HANDLE heap : heaps) {
        if (!::HeapLock(heap))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heap, &entry))
            visit(entry);
        ::HeapUnlock(heap);
    }
}

inline void ReadCounters(MemoryReading& memory)
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters)) {
        memory.workingSetKb = counters.WorkingSetSize / 1024.0;
        memory.privateKb = (counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage) / 1024.0;
    }
    DWORD handles = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &handles) && handles)
        memory.handles = handles;
}

inline void ReadAddressSpace(MemoryReading& memory)
{
    ForEachRegion([&](const MEMORY_BASIC_INFORMATION& region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            memory.committedKb += region.RegionSize / 1024.0;
    });
}

inline void ReadThreads(MemoryReading& memory)
{
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (BOOL more = ::Thread32First(snapshot, &thread); more; more = ::Thread32Next(snapshot, &thread))
        memory.threads += thread.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(snapshot);
}

inline void ReadHeaps(MemoryReading& memory)
{
    ForEachHeapEntry([&](const PROCESS_HEAP_ENTRY& entry) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
            memory.heapBlocks += 1;
            memory.heapKb += entry.cbData / 1024.0;
        } else if (!(entry.wFlags & (PROCESS_HEAP_REGION | PROCESS_HEAP_UNCOMMITTED_RANGE))) {
            memory.heapFreeKb += entry.cbData / 1024.0;
        }
    });
}

// Wine's table of the process's GDI handles, as its gdi32 reads it from the PEB: 65,536
// entries of 24 bytes, an entry in use where its type byte (at 14) is not zero.
constexpr size_t kWineGdiEntries = 0x10000;
constexpr size_t kWineGdiEntrySize = 24;
constexpr size_t kWineGdiTypeOffset = 14;

inline const BYTE* WineGdiTable()
{
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (sizeof(void*) != 4 || !IsUnderWine() || !query ||
        query(::GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return nullptr;
    const BYTE* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    return *reinterpret_cast<const BYTE* const*>(peb + 0x94);  // GdiSharedHandleTable
}

inline int CountWineGdiObjects(const BYTE* table)
{
    int count = 0;
    for (size_t i = 0; i < kWineGdiEntries; ++i)
        count += table[i * kWineGdiEntrySize + kWineGdiTypeOffset] != 0;
    return count;
}

// The table when counting it sees exactly the brushes made and deleted, else nullptr.
inline const BYTE* CheckedWineGdiTable()
{
    static const BYTE* const checked = [] () -> const BYTE* {
        const BYTE* table = WineGdiTable();
        if (!table)
            return nullptr;
        const int before = CountWineGdiObjects(table);
        std::vector<HBRUSH> brushes;
        for (int i = 0; i < 16; ++i)
            brushes.push_back(::CreateSolidBrush(RGB(i, 2 * i, 3 * i)));
        const int with = CountWineGdiObjects(table);
        for (HBRUSH brush : brushes)
            ::DeleteObject(brush);
        const int after = CountWineGdiObjects(table);
        return with == before + 16 && after == before ? table : nullptr;
    }();
    return checked;
}

inline BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

inline BOOL CALLBACK CountTopLevelWindow(HWND window, LPARAM count)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId()) {
        CountWindow(window, count);
        ::EnumChildWindows(window, CountWindow, count);
    }
    return TRUE;
}

// Top-level, child and message-only windows of the process.
inline int CountWindows()
{
    int count = 0;
    ::EnumWindows(CountTopLevelWindow, reinterpret_cast<LPARAM>(&count));
    for (HWND window = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = ::FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr))
        CountTopLevelWindow(window, reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace process_memory

inline MemoryReading ReadMemory()
{
    MemoryReading memory;
    process_memory::ReadCounters(memory);
    process_memory::ReadAddressSpace(memory);
    process_memory::ReadHeaps(memory);
    process_memory::ReadThreads(memory);
    const DWORD gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (gdi || user) {
        memory.gdiObjects = gdi;
        memory.userObjects = user;
    } else if (const BYTE* table = process_memory::CheckedWineGdiTable()) {
        memory.gdiObjects = process_memory::CountWineGdiObjects(table);
    }
    memory.windows = process_memory::CountWindows();
    return memory;
}

// The private memory committed in each allocation of the address space, in KB, for telling
// whose growing memory it is; and the allocations that hold heap memory.
struct AddressSpaceMap {
    std::map<const void*, double> committedKb;
    std::set<const void*> heapAllocations;
};

inline AddressSpaceMap ReadAddressSpaceMap()
{
    AddressSpaceMap map;
    process_memory::ForEachRegion([&](const MEMORY_BASIC_INFORMATION& region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            map.committedKb[region.AllocationBase] += region.RegionSize / 1024.0;
    });
    process_memory::ForEachHeapEntry([&](const PROCESS_HEAP_ENTRY& entry) {
        MEMORY_BASIC_INFORMATION region{};
        const bool large = (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) && entry.cbData >= 64 * 1024;
        if (((entry.wFlags & PROCESS_HEAP_REGION) || large) &&
            ::VirtualQuery(entry.lpData, &region, sizeof region) == sizeof region)
            map.heapAllocations.insert(region.AllocationBase);
    });
    return map;
}
