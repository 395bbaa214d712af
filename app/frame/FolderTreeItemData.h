#pragma once
// What each item of the folder tree stands for: a virtual folder ("Quick Views"), a
// book, or one folder of a book's locations. The tree owns one per item, as its item
// data, and deletes it with the item.
#include <string>
#include <vector>

#include "librarydata/Database.h"

class CTessaryFolderTreeCtrlItemDataBase {
public:
    enum Kind { VirtualFolder = 0, Subscription = 1, Folder = 2 };

    CTessaryFolderTreeCtrlItemDataBase(Kind kind, CTessaryDatabase* database) : m_kind(kind), m_database(database) {}
    virtual ~CTessaryFolderTreeCtrlItemDataBase() = default;

    // Only virtual folders have documents of their own; the others give 0.
    virtual int GetDocuments(std::vector<TESSARYDOCUMENTDATA>&) { return 0; }
    virtual std::wstring GetDisplayName() const = 0;

    Kind GetKind() const { return m_kind; }

protected:
    Kind m_kind;
    CTessaryDatabase* m_database;
};

class CTessaryFolderTreeCtrlItemData_VirtualFolder : public CTessaryFolderTreeCtrlItemDataBase {
public:
    CTessaryFolderTreeCtrlItemData_VirtualFolder(CTessaryDatabase* database, std::wstring name)
        : CTessaryFolderTreeCtrlItemDataBase(VirtualFolder, database), m_name(std::move(name))
    {
    }
    int GetDocuments(std::vector<TESSARYDOCUMENTDATA>& documents) override
    {
        return m_database && m_database->GetQuickViewDocuments(m_name.c_str(), documents);
    }
    std::wstring GetDisplayName() const override { return m_name; }

private:
    std::wstring m_name;
};

class CTessaryFolderTreeCtrlItemData_Subscription : public CTessaryFolderTreeCtrlItemDataBase {
public:
    CTessaryFolderTreeCtrlItemData_Subscription(CTessaryDatabase* database, TESSARYSUBSCRIPTIONDATA subscription)
        : CTessaryFolderTreeCtrlItemDataBase(Subscription, database), m_subscription(std::move(subscription))
    {
    }
    std::wstring GetDisplayName() const override { return m_subscription.name; }
    const TESSARYSUBSCRIPTIONDATA& GetSubscription() const { return m_subscription; }

private:
    TESSARYSUBSCRIPTIONDATA m_subscription;
};

class CTessaryFolderTreeCtrlItemData_Folder : public CTessaryFolderTreeCtrlItemDataBase {
public:
    CTessaryFolderTreeCtrlItemData_Folder(CTessaryDatabase* database, std::wstring name, std::wstring displayText)
        : CTessaryFolderTreeCtrlItemDataBase(Folder, database), m_name(std::move(name)),
          m_displayText(std::move(displayText))
    {
    }
    std::wstring GetDisplayName() const override { return m_displayText; }
    // The path segment, without translation or count.
    const std::wstring& GetName() const { return m_name; }

private:
    std::wstring m_name;
    std::wstring m_displayText;
};
