// Text values addressed by a section and a key, kept in an XML file: the
// document element is the root name, each section a child of it, each key a
// child of its section, the value the key element's text.
#pragma once

#include "foundation/XMLDocument.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class IQelSettingsBase
{
public:
    virtual ~IQelSettingsBase() = default;
    virtual BOOL GetValue(const wchar_t* section, const wchar_t* key, std::wstring& value) = 0;
    virtual BOOL SetValue(const wchar_t* section, const wchar_t* key, const wchar_t* value) = 0;

    // The default only when the value cannot be read; an empty value stays empty.
    std::wstring GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue);
    BOOL SetString(const wchar_t* section, const wchar_t* key, const wchar_t* value);
    // The default also for an empty value; other text reads as _wtoi does.
    int GetInt(const wchar_t* section, const wchar_t* key, int defaultValue);
    BOOL GetBool(const wchar_t* section, const wchar_t* key, BOOL defaultValue);
    BOOL SetInt(const wchar_t* section, const wchar_t* key, int value);
    BOOL SetBool(const wchar_t* section, const wchar_t* key, BOOL value);
};

// Stores nothing: every read fails, so callers get their defaults.
class CQelEmptySettings : public IQelSettingsBase
{
public:
    BOOL GetValue(const wchar_t* section, const wchar_t* key, std::wstring& value) override;
    BOOL SetValue(const wchar_t* section, const wchar_t* key, const wchar_t* value) override;
};

// Loads the file when made and writes it back when destroyed, only after a
// change. Several stores and other writers may have the file open at once:
// the save reloads the file under CQelSettingsFileLock and applies this
// store's own changes to it, so no writer undoes another's values. Empty
// elements that reads add to the loaded document never reach the file.
class CQelSettings : public IQelSettingsBase
{
public:
    CQelSettings(const wchar_t* fileName, const wchar_t* rootName);
    ~CQelSettings() override;
    CQelSettings(const CQelSettings&) = delete;
    CQelSettings& operator=(const CQelSettings&) = delete;

    BOOL GetValue(const wchar_t* section, const wchar_t* key, std::wstring& value) override;
    BOOL SetValue(const wchar_t* section, const wchar_t* key, const wchar_t* value) override;

    // Every element of a section as (name, text), in file order; a missing
    // section gives none. FALSE when the section's children cannot be listed.
    BOOL GetSectionValues(const wchar_t* section, std::vector<std::pair<std::wstring, std::wstring>>& values);
    // Removes every value of the section, here and, on save, in the file.
    BOOL ClearSection(const wchar_t* section);
    // Adds a value after the section's others without looking for one of that name: for
    // filling a section just cleared with names known to be new, in time linear in their
    // number, where SetValue searches the section for each.
    BOOL AppendValue(const wchar_t* section, const wchar_t* key, const wchar_t* value);

    // Writes this store's changes to the file now rather than when it is
    // destroyed; TRUE when all of them reached the file.
    BOOL Save();

    const std::wstring& GetFileName() const { return m_fileName; }
    const std::wstring& GetRootName() const { return m_rootName; }

private:
    struct Change
    {
        enum class Kind { Set, ClearSection, Append };
        Kind kind;
        std::wstring section;
        std::wstring key;
        std::wstring value;
    };

    BOOL ApplyChanges(CQelXMLDocument& document) const;

    CQelXMLDocument m_xml;
    std::wstring m_fileName;
    std::wstring m_rootName;
    // Every successful set or clear, in order; the store is modified when any is here.
    std::vector<Change> m_changes;
};

// The reader's own store, Data\Tessary.xml with the root "Tessary".
class CTessarySettings : public CQelSettings
{
public:
    CTessarySettings();
};

std::wstring QelGetSettingsFileName();

// Loads a settings file that is about to be changed and saved, under
// CQelSettingsFileLock (the caller holds it until the save). A missing file
// gives an empty document. An unreadable one gives an empty document too, and
// is first copied to the file name followed by ".bad", since the save will
// replace it. FALSE when the file was there but could not be read.
BOOL QelLoadSettingsFileForUpdate(const wchar_t* fileName, CQelXMLDocument& document, BOOL report);

// One process-wide lock over every load and save of a settings file. Code
// that loads, changes and saves such a file itself (not through
// CQelSettings) holds it from the load to the save, and loads with
// QelLoadSettingsFileForUpdate.
class CQelSettingsFileLock
{
public:
    CQelSettingsFileLock();
    ~CQelSettingsFileLock();
    CQelSettingsFileLock(const CQelSettingsFileLock&) = delete;
    CQelSettingsFileLock& operator=(const CQelSettingsFileLock&) = delete;
};
