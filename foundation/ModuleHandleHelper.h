#pragma once
// One DLL taken from the process or loaded on demand, asked for functions by
// name with a minimum version, so that the program runs where a newer
// library is missing.

#include <windows.h>
#include <shlwapi.h>

#include <string>

namespace QelGlobals {

class CQelModuleHandleHelper {
public:
    enum Kind { KindNone = 0, KindFromProcess = 1, KindLoaded = 2 };

    CQelModuleHandleHelper();
    explicit CQelModuleHandleHelper(const wchar_t* module);
    virtual ~CQelModuleHandleHelper();

    CQelModuleHandleHelper(const CQelModuleHandleHelper&) = delete;
    CQelModuleHandleHelper& operator=(const CQelModuleHandleHelper&) = delete;

    // The module already in the process, else loaded.
    BOOL Get(const wchar_t* module);
    // Both release what the object held first.
    BOOL GetModuleHandle(const wchar_t* module);
    BOOL LoadLibrary(const wchar_t* module);
    // Frees only a module this object loaded itself.
    BOOL Free();

    // major << 16 | minor from the module's DllGetVersion; 0 when it has none.
    DWORD GetDllVersion();
    // FALSE with out NULL when the module is older than minVersion (0: any).
    BOOL GetProcAddressIfVersion(FARPROC& out, const char* name, DWORD minVersion);

    HMODULE GetHandle() const { return m_module; }
    int GetKind() const { return m_kind; }
    const std::wstring& GetName() const { return m_name; }

private:
    // Releases what was held, then keeps the module obtain gives for the name.
    BOOL Take(const wchar_t* module, HMODULE(WINAPI* obtain)(LPCWSTR), int kind);

    std::wstring m_name;
    HMODULE m_module = nullptr;
    int m_kind = KindNone;
    DLLVERSIONINFO m_version{};
};

} // namespace QelGlobals
