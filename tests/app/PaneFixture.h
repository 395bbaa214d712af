#pragma once
// An account database in a folder of its own and a top-level window of our own class
// (which reflects its children's notifications back to them) for the panes' tests.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "foundation/TestFolder.h"
#include "framework/ComInitialize.h"
#include "framework/WindowObject.h"
#include "librarydata/Database.h"

class CPaneHost : public CWindowObject {
protected:
    DWORD DefaultStyle() const override { return WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN; }
    DWORD DefaultExStyle() const override { return WS_EX_NOACTIVATE; }
};

class PaneFixture : public ::testing::Test {
protected:
    static constexpr const wchar_t* kBook = L"aaaaaaaa-0000-0000-0000-000000000001";
    static constexpr const wchar_t* kOtherBook = L"bbbbbbbb-0000-0000-0000-000000000002";

    void SetUp() override
    {
        ASSERT_TRUE(database.Open(folder.Path().c_str()));
        ASSERT_TRUE(host.Create(nullptr, RECT{0, 0, 400, 600}));
    }
    void TearDown() override
    {
        host.DestroyWindow();
        database.Close();
    }

    // A document of a book with its times; the title doubles as its GUID's tail.
    void AddDocument(const wchar_t* book, const wchar_t* location, const wchar_t* title, __int64 created,
                     __int64 modified = 0)
    {
        TESSARYDOCUMENTDATA document;
        document.subscriptionGuid = book;
        document.documentGuid = std::wstring(L"d0000000-0000-0000-0000-") + title;
        document.location = location;
        document.title = title;
        document.created = created;
        document.modified = modified ? modified : created;
        ASSERT_TRUE(database.UpdateDocument(document, nullptr));
    }

    CComInitialize com;
    TestFolder folder;
    CTessaryDatabase database;
    CPaneHost host;
};
