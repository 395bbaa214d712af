// The large account the database and start-up benchmarks share: 100,000
// documents in 200 folders of 3 books (the first 5,000 in one folder) and
// 20,000 attachments, under the user name bench@example.com.
#pragma once

#include "librarydata/Database.h"

#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace bench {

constexpr int kDocuments = 100000;
constexpr int kFolders = 200;
constexpr int kBooks = 3;
constexpr int kLargeFolder = 5000;
constexpr int kAttachments = 20000;
constexpr wchar_t kUserName[] = L"bench@example.com";

inline std::wstring BookGuid(int book)
{
    wchar_t text[40];
    swprintf(text, 40, L"%08x-0000-4000-8000-%012x", 0xb00c0000 + book, book);
    return text;
}

inline std::wstring DocumentGuid(int n)
{
    wchar_t text[40];
    swprintf(text, 40, L"%08x-%04x-4%03x-8%03x-%012x", n * 2654435761u, n & 0xFFFF, n % 0xFFF, (n / 7) % 0xFFF, n);
    return text;
}

inline std::wstring FolderPath(int folder)
{
    return L"/Section " + std::to_wstring(folder / 20) + L"/Topic " + std::to_wstring(folder) + L"/";
}

// The folder of document n: the first 5,000 fill folder 0, the rest spread over the others.
inline int FolderOf(int n)
{
    return n < kLargeFolder ? 0 : 1 + (n - kLargeFolder) % (kFolders - 1);
}

inline TESSARYDOCUMENTDATA MakeDocument(int n, std::mt19937& random, __int64 now)
{
    static const wchar_t* const words[] = {L"apple",  L"river",   L"engine", L"garden", L"report",
                                           L"summary", L"install", L"guide",  L"network", L"policy",
                                           L"budget", L"server",  L"window", L"travel", L"health",
                                           L"market", L"design",  L"energy", L"letter", L"notes"};
    const int folder = FolderOf(n);
    TESSARYDOCUMENTDATA document;
    document.subscriptionGuid = BookGuid(folder % kBooks);
    document.documentGuid = DocumentGuid(n);
    document.location = FolderPath(folder);
    document.title = std::wstring(words[random() % 20]) + L" " + words[random() % 20] + L" " + words[random() % 20] +
                     L" no. " + std::to_wstring(n);
    // Two years of history; a few documents from the last days.
    const __int64 age = (n % 997 == 0) ? random() % (2 * 86400) : random() % (730 * 86400);
    document.created = now - age - 86400;
    document.modified = now - age;
    document.iconIndex = n % 12;
    document.attachmentCount = 0;
    document.indexed = 1;
    document.version = n + 1;
    wchar_t md5[33];
    swprintf(md5, 33, L"%08x%08x%08x%08x", n, random(), random(), random());
    document.dataMD5 = md5;
    return document;
}

inline std::vector<TESSARYDOCUMENTDATA> MakeDocuments(std::mt19937& random)
{
    const __int64 now = _time64(nullptr);
    std::vector<TESSARYDOCUMENTDATA> documents;
    documents.reserve(kDocuments);
    for (int n = 0; n < kDocuments; ++n)
        documents.push_back(MakeDocument(n, random, now));
    return documents;
}

inline bool IsFilled(CTessaryDatabase& db, const std::vector<TESSARYDOCUMENTDATA>& documents)
{
    return db.DocumentExists(documents.back().subscriptionGuid.c_str(), documents.back().documentGuid.c_str());
}

// Stores the documents, their attachments, the book names and the user name in one transaction.
inline bool FillAccount(CTessaryDatabase& db, const std::vector<TESSARYDOCUMENTDATA>& documents)
{
    db.BeginTransaction();
    for (int n = 0; n < kDocuments; ++n) {
        if (!db.UpdateDocument(documents[n], nullptr)) {
            printf("Fill failed at document %d\n", n);
            return false;
        }
    }
    for (int n = 0; n < kAttachments; ++n) {
        const TESSARYDOCUMENTDATA& owner = documents[(n * 5) % kDocuments];
        TESSARYDOCUMENTATTACHMENTDATA attachment;
        attachment.subscriptionGuid = owner.subscriptionGuid;
        attachment.attachmentGuid = DocumentGuid(kDocuments + n);
        attachment.documentGuid = owner.documentGuid;
        attachment.name = L"attachment " + std::to_wstring(n) + L".pdf";
        attachment.version = n + 1;
        attachment.dataMD5 = owner.dataMD5;
        if (!db.UpdateAttachment(attachment, nullptr)) {
            printf("Fill failed at attachment %d\n", n);
            return false;
        }
    }
    for (int book = 0; book < kBooks; ++book)
        db.SetSubscriptionName(BookGuid(book).c_str(), (L"Book " + std::to_wstring(book)).c_str());
    db.SetAccountUserName(kUserName);
    return db.CommitTransaction() != FALSE;
}

}  // namespace bench
