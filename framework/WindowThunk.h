#pragma once
// A window procedure made for one window: a few bytes of code that put the thunk's own
// address ahead of the four arguments and jump to an entry taking five. The entry finds
// its object in the thunk, so no message looks it up by handle.
//
//   pop eax; push thunk; push eax; jmp entry    ; the entry's ret 20 also drops the pushed thunk
#include <windows.h>

#include <memory>

class CWindowObject;

class CWindowThunk {
public:
    using Entry = LRESULT(CALLBACK*)(CWindowThunk*, HWND, UINT, WPARAM, LPARAM);
    struct Deleter {
        void operator()(CWindowThunk* thunk) const;
    };
    using Owner = std::unique_ptr<CWindowThunk, Deleter>;

    // nullptr when no executable memory could be had.
    static Owner Make(Entry entry, CWindowObject* object);
    // Keeps a thunk that a living window may still call after its object has gone: from then
    // on it passes messages to fallback, and it is freed once the window is gone.
    static void Orphan(Owner thunk, HWND window, LONG_PTR fallback);

    // What goes into the window's procedure slot.
    LONG_PTR Procedure() const { return reinterpret_cast<LONG_PTR>(&m_code); }

    CWindowObject* object = nullptr;  // nullptr once orphaned
    LONG_PTR fallback = 0;            // where an orphan's messages go

private:
#pragma pack(push, 1)
    struct Code {
        BYTE popReturn = 0x58;  // pop eax
        BYTE pushThunk = 0x68;  // push imm32
        CWindowThunk* thunk = nullptr;
        BYTE pushReturn = 0x50;  // push eax
        BYTE jump = 0xE9;        // jmp rel32
        DWORD offset = 0;
    };
#pragma pack(pop)
    Code m_code;
    HWND m_window = nullptr;  // an orphan's window
};
