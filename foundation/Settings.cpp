#include "foundation/Settings.h"

#include "foundation/Folders.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"

#include <shlwapi.h>

#include <cwchar>
#include <mutex>

namespace {

std::recursive_mutex& SettingsFileMutex()
{
    static std::recursive_mutex mutex;
    return mutex;
}

const wchar_t* Text(const wchar_t* text)
{
    return text ? text : L"";
}

BOOL AppendSettingsValue(CQelXMLDocument& document, const wchar_t* root, const wchar_t* section, const wchar_t* key,
                         const wchar_t* value)
{
    CQelXMLNode sectionNode;
    CQelXMLNode node;
    return document.FindOrAppendChildNodeOfChild(root, section, sectionNode) &&
           sectionNode.AppendChildNode(key, node) && node.SetText(value);
}

}  // namespace

CQelSettingsFileLock::CQelSettingsFileLock()
{
    SettingsFileMutex().lock();
}

CQelSettingsFileLock::~CQelSettingsFileLock()
{
    SettingsFileMutex().unlock();
}

std::wstring IQelSettingsBase::GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue)
{
    std::wstring value;
    if (GetValue(section, key, value))
        return value;
    return Text(defaultValue);
}

BOOL IQelSettingsBase::SetString(const wchar_t* section, const wchar_t* key, const wchar_t* value)
{
    return SetValue(section, key, value);
}

int IQelSettingsBase::GetInt(const wchar_t* section, const wchar_t* key, int defaultValue)
{
    std::wstring value;
    if (!GetValue(section, key, value) || value.empty())
        return defaultValue;
    return _wtoi(value.c_str());
}

BOOL IQelSettingsBase::GetBool(const wchar_t* section, const wchar_t* key, BOOL defaultValue)
{
    std::wstring value;
    if (!GetValue(section, key, value) || value.empty())
        return defaultValue;
    return _wtoi(value.c_str()) != 0 ? TRUE : FALSE;
}

BOOL IQelSettingsBase::SetInt(const wchar_t* section, const wchar_t* key, int value)
{
    return SetValue(section, key, QelIntToStr(value).c_str());
}

BOOL IQelSettingsBase::SetBool(const wchar_t* section, const wchar_t* key, BOOL value)
{
    return SetValue(section, key, value ? L"1" : L"0");
}

BOOL CQelEmptySettings::GetValue(const wchar_t*, const wchar_t*, std::wstring&)
{
    return FALSE;
}

BOOL CQelEmptySettings::SetValue(const wchar_t*, const wchar_t*, const wchar_t*)
{
    return TRUE;
}

CQelSettings::CQelSettings(const wchar_t* fileName, const wchar_t* rootName)
    : m_fileName(Text(fileName)), m_rootName(Text(rootName))
{
    BOOL loaded = TRUE;
    {
        CQelSettingsFileLock lock;
        if (!::PathFileExistsW(m_fileName.c_str()))
            return;
        loaded = m_xml.LoadFromFile(m_fileName.c_str(), FALSE);
    }
    if (!loaded) {
        // Reported outside the lock: a box may wait for the user.
        m_xml.ReportParseError(m_fileName.c_str());
        TessaryWriteLog(QelFormatString1(L"Failed to load xml file: %1", m_fileName.c_str()));
    }
}

CQelSettings::~CQelSettings()
{
    try {
        Save();
    } catch (...) {
        // Out of memory while saving: the values are lost, the program is not.
    }
}

BOOL CQelSettings::GetValue(const wchar_t* section, const wchar_t* key, std::wstring& value)
{
    if (!m_xml.GetSettingsValue(m_rootName.c_str(), section, key, L"", value)) {
        TessaryWriteLog(QelFormatString2(L"Failed to get settings value: %1.%2", Text(section), Text(key)));
        return FALSE;
    }
    return TRUE;
}

BOOL CQelSettings::SetValue(const wchar_t* section, const wchar_t* key, const wchar_t* value)
{
    if (!m_xml.SetSettingsValue(m_rootName.c_str(), section, key, Text(value))) {
        TessaryWriteLog(QelFormatString3(L"Failed to set settings value: %1.%2=%3", Text(section), Text(key), Text(value)));
        return FALSE;
    }
    m_changes.push_back({Change::Kind::Set, Text(section), Text(key), Text(value)});
    return TRUE;
}

BOOL CQelSettings::AppendValue(const wchar_t* section, const wchar_t* key, const wchar_t* value)
{
    if (!AppendSettingsValue(m_xml, m_rootName.c_str(), Text(section), Text(key), Text(value))) {
        TessaryWriteLog(QelFormatString3(L"Failed to set settings value: %1.%2=%3", Text(section), Text(key), Text(value)));
        return FALSE;
    }
    m_changes.push_back({Change::Kind::Append, Text(section), Text(key), Text(value)});
    return TRUE;
}

BOOL CQelSettings::GetSectionValues(const wchar_t* section,
                                    std::vector<std::pair<std::wstring, std::wstring>>& values)
{
    values.clear();
    CQelXMLNode sectionNode;
    if (!m_xml.FindChildNodeOfChild(m_rootName.c_str(), section, sectionNode))
        return TRUE;
    std::vector<CQelXMLNode> children;
    if (!sectionNode.GetAllChildNodes(children))
        return FALSE;
    for (const auto& child : children) {
        std::wstring name;
        if (child.IsElement() && child.QueryName(name))
            values.emplace_back(name, child.GetText(L""));
    }
    return TRUE;
}

BOOL CQelSettings::ClearSection(const wchar_t* section)
{
    if (!section)
        return FALSE;
    CQelXMLNode sectionNode;
    if (m_xml.FindChildNodeOfChild(m_rootName.c_str(), section, sectionNode) && !sectionNode.DeleteAllChildNodes())
        return FALSE;
    m_changes.push_back({Change::Kind::ClearSection, section, L"", L""});
    return TRUE;
}

BOOL CQelSettings::ApplyChanges(CQelXMLDocument& document) const
{
    BOOL applied = TRUE;
    for (const auto& change : m_changes) {
        if (change.kind == Change::Kind::ClearSection) {
            CQelXMLNode sectionNode;
            if (document.FindChildNodeOfChild(m_rootName.c_str(), change.section.c_str(), sectionNode))
                sectionNode.DeleteAllChildNodes();
            continue;
        }
        const BOOL set = change.kind == Change::Kind::Append
                             ? AppendSettingsValue(document, m_rootName.c_str(), change.section.c_str(),
                                                   change.key.c_str(), change.value.c_str())
                             : document.SetSettingsValue(m_rootName.c_str(), change.section.c_str(),
                                                         change.key.c_str(), change.value.c_str());
        if (!set) {
            TessaryWriteLog(QelFormatString3(L"Failed to set settings value: %1.%2=%3", change.section.c_str(),
                                      change.key.c_str(), change.value.c_str()));
            applied = FALSE;
        }
    }
    return applied;
}

BOOL CQelSettings::Save()
{
    if (m_changes.empty())
        return TRUE;
    // The file as it is now, with other writers' values, takes this store's
    // changes; what this store merely read is left out.
    CQelSettingsFileLock lock;
    CQelXMLDocument current;
    QelLoadSettingsFileForUpdate(m_fileName.c_str(), current, FALSE);
    const BOOL applied = ApplyChanges(current);
    // Saved or not, the caller has the answer: the destruction does not try again.
    m_changes.clear();
    if (!current.SaveToFile(m_fileName.c_str())) {
        TessaryWriteLog(QelFormatString1(L"Failed to save xml file: %1", m_fileName.c_str()));
        return FALSE;
    }
    return applied;
}

CTessarySettings::CTessarySettings() : CQelSettings(QelGetSettingsFileName().c_str(), L"Tessary")
{
}

BOOL QelLoadSettingsFileForUpdate(const wchar_t* fileName, CQelXMLDocument& document, BOOL report)
{
    CQelSettingsFileLock lock;
    if (!fileName)
        return FALSE;
    if (!::PathFileExistsW(fileName)) {
        document.Clear();
        return TRUE;
    }
    if (document.LoadFromFile(fileName, report))
        return TRUE;
    if (::PathFileExistsW(fileName)) {
        // The save that follows replaces the file, so its bytes are kept beside it.
        const std::wstring kept = std::wstring(fileName) + L".bad";
        if (::CopyFileW(fileName, kept.c_str(), FALSE))
            TessaryWriteLog(QelFormatString1(L"Kept the unreadable settings file as %1", kept.c_str()));
        else
            TessaryWriteLog(QelFormatString1(L"Failed to keep the unreadable settings file as %1", kept.c_str()));
    }
    document.Clear();
    return FALSE;
}

std::wstring QelGetSettingsFileName()
{
    return QelGetDataFolder() + L"Tessary.xml";
}
