#include "foundation/ModuleHandleHelper.h"

#include <cstring>

namespace QelGlobals {

CQelModuleHandleHelper::CQelModuleHandleHelper() = default;

CQelModuleHandleHelper::CQelModuleHandleHelper(const wchar_t* module)
{
    Get(module);
}

CQelModuleHandleHelper::~CQelModuleHandleHelper()
{
    Free();
}

BOOL CQelModuleHandleHelper::Get(const wchar_t* module)
{
    return GetModuleHandle(module) || LoadLibrary(module);
}

BOOL CQelModuleHandleHelper::GetModuleHandle(const wchar_t* module)
{
    return Take(module, &::GetModuleHandleW, KindFromProcess);
}

BOOL CQelModuleHandleHelper::LoadLibrary(const wchar_t* module)
{
    return Take(module, &::LoadLibraryW, KindLoaded);
}

BOOL CQelModuleHandleHelper::Take(const wchar_t* module, HMODULE(WINAPI* obtain)(LPCWSTR), int kind)
{
    Free();
    HMODULE handle = module ? obtain(module) : nullptr;
    if (!handle)
        return FALSE;
    m_module = handle;
    m_kind = kind;
    m_name = module;
    return TRUE;
}

BOOL CQelModuleHandleHelper::Free()
{
    BOOL result = TRUE;
    if (m_kind == KindLoaded && m_module)
        result = ::FreeLibrary(m_module);
    m_module = nullptr;
    m_kind = KindNone;
    m_name.clear();
    // A later module has a version of its own.
    m_version = DLLVERSIONINFO{};
    return result;
}

DWORD CQelModuleHandleHelper::GetDllVersion()
{
    if (m_version.cbSize == 0 && m_module) {
        m_version.cbSize = sizeof(DLLVERSIONINFO);
        FARPROC proc = ::GetProcAddress(m_module, "DllGetVersion");
        if (proc) {
            DLLGETVERSIONPROC getVersion;
            std::memcpy(&getVersion, &proc, sizeof getVersion);
            DLLVERSIONINFO version{};
            version.cbSize = sizeof(DLLVERSIONINFO);
            if (SUCCEEDED(getVersion(&version)))
                m_version = version;
        }
    }
    return (m_version.dwMajorVersion << 16) | (m_version.dwMinorVersion & 0xFFFF);
}

BOOL CQelModuleHandleHelper::GetProcAddressIfVersion(FARPROC& out, const char* name, DWORD minVersion)
{
    out = nullptr;
    if (!m_module || !name)
        return FALSE;
    if (minVersion != 0) {
        const DWORD version = GetDllVersion();
        const DWORD major = version >> 16, minor = version & 0xFFFF;
        const DWORD minMajor = minVersion >> 16, minMinor = minVersion & 0xFFFF;
        if (major < minMajor || (major == minMajor && minor < minMinor))
            return FALSE;
    }
    out = ::GetProcAddress(m_module, name);
    return out != nullptr;
}

} // namespace QelGlobals
