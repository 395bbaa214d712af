#include "framework/WindowThunk.h"

#include <new>

static_assert(sizeof(void*) == 4, "the thunk's code is 32-bit x86");

namespace {

// Lives as long as the process: a thunk may be called until its window's last message.
HANDLE ExecutableHeap()
{
    static const HANDLE heap = ::HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
    return heap;
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
    const auto next = reinterpret_cast<LONG_PTR>(&thunk->m_code) + static_cast<LONG_PTR>(sizeof(Code));
    thunk->m_code.offset = reinterpret_cast<LONG_PTR>(entry) - next;
    ::FlushInstructionCache(::GetCurrentProcess(), &thunk->m_code, sizeof(Code));
    return thunk;
}

void CWindowThunk::Deleter::operator()(CWindowThunk* thunk) const
{
    thunk->~CWindowThunk();
    ::HeapFree(ExecutableHeap(), 0, thunk);
}
