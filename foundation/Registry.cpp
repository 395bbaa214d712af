#include "foundation/Registry.h"

#include <shlwapi.h>

namespace {

class RegKey {
public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey()
    {
        if (key_)
            RegCloseKey(key_);
    }

    BOOL OpenForRead(HKEY root, const wchar_t* subKey)
    {
        return RegOpenKeyExW(root, subKey, 0, KEY_READ, &key_) == ERROR_SUCCESS;
    }

    BOOL OpenForWrite(HKEY root, const wchar_t* subKey)
    {
        return RegOpenKeyExW(root, subKey, 0, KEY_ALL_ACCESS, &key_) == ERROR_SUCCESS;
    }

    BOOL OpenOrCreate(HKEY root, const wchar_t* subKey)
    {
        if (OpenForWrite(root, subKey))
            return TRUE;
        key_ = nullptr;
        return RegCreateKeyExW(root, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                               nullptr) == ERROR_SUCCESS;
    }

    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

BOOL QueryRaw(HKEY root, const wchar_t* subKey, const wchar_t* name, void* data, DWORD& size)
{
    RegKey key;
    if (!key.OpenForRead(root, subKey))
        return FALSE;
    return RegQueryValueExW(key.Get(), name, nullptr, nullptr, static_cast<BYTE*>(data), &size) ==
           ERROR_SUCCESS;
}

BOOL WriteRaw(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD type, const void* data,
              DWORD size)
{
    RegKey key;
    if (!key.OpenOrCreate(root, subKey))
        return FALSE;
    return RegSetValueExW(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

enum class NameKind { SubKeys, Values };

BOOL EnumNames(HKEY root, const wchar_t* subKey, NameKind kind, std::vector<std::wstring>& out)
{
    RegKey key;
    if (!key.OpenForRead(root, subKey))
        return FALSE;
    DWORD subKeys = 0;
    DWORD values = 0;
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return FALSE;
    const DWORD count = kind == NameKind::SubKeys ? subKeys : values;
    for (DWORD i = 0; i < count; ++i) {
        wchar_t name[MAX_PATH + 1] = {};
        DWORD length = MAX_PATH + 1;
        const LONG result =
            kind == NameKind::SubKeys
                ? RegEnumKeyExW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr)
                : RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_SUCCESS)
            out.emplace_back(name, length);
    }
    return TRUE;
}

} // namespace

BOOL QelRegQueryString(HKEY root, const wchar_t* subKey, const wchar_t* name, wchar_t* buffer,
                       UINT characters)
{
    if (!buffer || characters == 0)
        return FALSE;
    buffer[0] = L'\0';
    DWORD size = static_cast<DWORD>(characters * sizeof(wchar_t));
    if (!QueryRaw(root, subKey, name, buffer, size)) {
        buffer[0] = L'\0';
        return FALSE;
    }
    // A value stored without its terminator may fill the buffer exactly:
    // the text is only whole when a terminator still fits behind it.
    const UINT length = size / sizeof(wchar_t);
    if (length < characters) {
        buffer[length] = L'\0';
        return TRUE;
    }
    if (buffer[characters - 1] == L'\0')
        return TRUE;
    buffer[0] = L'\0';
    return FALSE;
}

BOOL QelRegQueryDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD& value)
{
    DWORD size = sizeof(DWORD);
    return QueryRaw(root, subKey, name, &value, size);
}

BOOL QelRegQueryBool(HKEY root, const wchar_t* subKey, const wchar_t* name, BOOL& value)
{
    DWORD data = 0;
    if (!QelRegQueryDword(root, subKey, name, data))
        return FALSE;
    value = data != 0;
    return TRUE;
}

BOOL QelRegQueryQword(HKEY root, const wchar_t* subKey, const wchar_t* name, void* value)
{
    DWORD size = sizeof(INT64);
    return QueryRaw(root, subKey, name, value, size);
}

BOOL QelRegQueryBinary(HKEY root, const wchar_t* subKey, const wchar_t* name, void* data,
                       DWORD size)
{
    return QueryRaw(root, subKey, name, data, size);
}

BOOL QelRegQueryBinaryDword(HKEY root, const wchar_t* subKey, const wchar_t* name, void* data)
{
    return QelRegQueryBinary(root, subKey, name, data, sizeof(DWORD));
}

BOOL QelRegValueExists(HKEY root, const wchar_t* subKey, const wchar_t* name)
{
    RegKey key;
    if (!key.OpenForRead(root, subKey))
        return FALSE;
    return RegQueryValueExW(key.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

BOOL QelRegKeyExists(HKEY root, const wchar_t* subKey)
{
    RegKey key;
    return key.OpenForRead(root, subKey);
}

BOOL QelRegEnumSubKeys(HKEY root, const wchar_t* subKey, std::vector<std::wstring>& out)
{
    return EnumNames(root, subKey, NameKind::SubKeys, out);
}

BOOL QelRegEnumValueNames(HKEY root, const wchar_t* subKey, std::vector<std::wstring>& out)
{
    return EnumNames(root, subKey, NameKind::Values, out);
}

std::wstring QelRegReadString(HKEY root, const wchar_t* subKey, const wchar_t* name,
                              const wchar_t* defaultValue)
{
    wchar_t buffer[1025];
    if (QelRegQueryString(root, subKey, name, buffer, 1025))
        return buffer;
    return defaultValue ? defaultValue : L"";
}

DWORD QelRegReadDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD defaultValue)
{
    DWORD value = 0;
    return QelRegQueryDword(root, subKey, name, value) ? value : defaultValue;
}

BOOL QelRegReadBool(HKEY root, const wchar_t* subKey, const wchar_t* name, BOOL defaultValue)
{
    BOOL value = FALSE;
    return QelRegQueryBool(root, subKey, name, value) ? value : defaultValue;
}

INT64 QelRegReadQword(HKEY root, const wchar_t* subKey, const wchar_t* name, INT64 defaultValue)
{
    INT64 value = 0;
    return QelRegQueryQword(root, subKey, name, &value) ? value : defaultValue;
}

DWORD QelRegReadBinaryDword(HKEY root, const wchar_t* subKey, const wchar_t* name,
                            DWORD defaultValue)
{
    DWORD value = 0;
    return QelRegQueryBinaryDword(root, subKey, name, &value) ? value : defaultValue;
}

BOOL QelRegWriteString(HKEY root, const wchar_t* subKey, const wchar_t* name, const wchar_t* text)
{
    const wchar_t* const data = text ? text : L"";
    const DWORD size = static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t));
    return WriteRaw(root, subKey, name, REG_SZ, data, size);
}

BOOL QelRegWriteDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value)
{
    return WriteRaw(root, subKey, name, REG_DWORD, &value, sizeof(value));
}

BOOL QelRegWriteBool(HKEY root, const wchar_t* subKey, const wchar_t* name, BOOL value)
{
    return QelRegWriteDword(root, subKey, name, value ? 1 : 0);
}

BOOL QelRegWriteQword(HKEY root, const wchar_t* subKey, const wchar_t* name, INT64 value)
{
    return WriteRaw(root, subKey, name, REG_QWORD, &value, sizeof(value));
}

BOOL QelRegWriteBinary(HKEY root, const wchar_t* subKey, const wchar_t* name, const void* data,
                       DWORD size)
{
    return WriteRaw(root, subKey, name, REG_BINARY, data, size);
}

BOOL QelRegWriteBinaryDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value)
{
    return QelRegWriteBinary(root, subKey, name, &value, sizeof(value));
}

BOOL QelRegCreateKey(HKEY root, const wchar_t* subKey)
{
    RegKey key;
    return key.OpenOrCreate(root, subKey);
}

BOOL QelRegDeleteValue(HKEY root, const wchar_t* subKey, const wchar_t* name)
{
    RegKey key;
    if (!key.OpenForWrite(root, subKey))
        return FALSE;
    return RegDeleteValueW(key.Get(), name) == ERROR_SUCCESS;
}

BOOL QelRegDeleteKeyTree(HKEY root, const wchar_t* subKey)
{
    return SHDeleteKeyW(root, subKey) == ERROR_SUCCESS;
}
