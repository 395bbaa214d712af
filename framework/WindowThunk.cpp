#include "framework/WindowThunk.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <vector>

static_assert(sizeof(void*) == 4, "the thunk's code is 32-bit x86");

namespace {

// Lives as long as the process: a thunk may be called until its window's last message.
HANDLE ExecutableHeap()
{
    static const HANDLE heap = ::HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
    return heap;
}

// Orphans wait here for their windows to go. Only a window that is gone can no longer
// call its procedure: a subclass above an orphan may pass it messages even after the
// window's WM_NCDESTROY, and a WM_NCDESTROY sent by hand ends nothing.
struct COrphans {
    std::mutex lock;
    std::vector<CWindowThunk*> thunks;
};

COrphans& Orphans()
{
    static COrphans orphans;
    return orphans;
}

}  // namespace

CWindowThunk::Owner CWindowThunk::Make(Entry entry, CWindowObject* object)
{
    const HANDLE heap = ExecutableHeap();
    void* block = heap ? ::HeapAlloc(heap, 0, sizeof(CWindowThunk)) : nullptr;
    if (!block)
        return nullptr;
    Owner thunk(new (block) CWindowThunk);
    thunk->object = object;
    thunk->m_code.thunk = thunk.get();
    // The jump is relative to the end of the code; unsigned arithmetic wraps where it must.
    const auto next = reinterpret_cast<DWORD>(&thunk->m_code) + static_cast<DWORD>(sizeof(Code));
    thunk->m_code.offset = reinterpret_cast<DWORD>(entry) - next;
    ::FlushInstructionCache(::GetCurrentProcess(), &thunk->m_code, sizeof(Code));
    return thunk;
}

void CWindowThunk::Orphan(Owner thunk, HWND window, LONG_PTR fallback)
{
    thunk->object = nullptr;
    thunk->fallback = fallback;
    thunk->m_window = window;
    COrphans& orphans = Orphans();
    const std::lock_guard<std::mutex> hold(orphans.lock);
    // Each new orphan frees those whose windows have gone, so the list stays at the living
    // ones and window creation pays nothing.
    const auto gone = std::partition(orphans.thunks.begin(), orphans.thunks.end(),
                                     [](const CWindowThunk* orphan) { return ::IsWindow(orphan->m_window); });
    std::for_each(gone, orphans.thunks.end(), Deleter{});
    orphans.thunks.erase(gone, orphans.thunks.end());
    orphans.thunks.push_back(thunk.release());
}

void CWindowThunk::Deleter::operator()(CWindowThunk* thunk) const
{
    thunk->~CWindowThunk();
    ::HeapFree(ExecutableHeap(), 0, thunk);
}
