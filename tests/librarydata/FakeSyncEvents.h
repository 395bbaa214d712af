// A sync events object for tests: records what the clients and the engine
// report, and answers from fields the test sets.
#pragma once

#include "librarydata/SyncEvents.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class CFakeSyncEvents : public ITessarySyncEvents
{
public:
    int OnHttpProgress(DWORD done, DWORD total) override
    {
        progress.emplace_back(done, total);
        return 0;
    }
    void OnStepBegin(int step) override { steps.push_back(step); }
    void OnSubscriptionBegin(const wchar_t* guid, const wchar_t*, int index, int count) override
    {
        books.push_back(guid);
        bookIndexes.emplace_back(index, count);
    }
    void OnStepProgress(int position, int total) override { stepProgress.emplace_back(position, total); }
    void OnItemProgress(int, int) override {}
    void OnLog(int level, const wchar_t* text) override { logs.emplace_back(level, text); }
    void QueryUserAccount(wchar_t* userName, wchar_t* password) override
    {
        ++accountQueries;
        queriedWith.emplace_back(userName, password);
        TessaryCopyToAccountBuffer(answerUser, userName);
        TessaryCopyToAccountBuffer(answerPassword, password);
    }
    BOOL UpdateDocument(const TESSARYDOCUMENTDATA* document, IStream* data) override
    {
        updatedDocuments.push_back(*document);
        documentHadData.push_back(data != nullptr);
        return updateResult;
    }
    BOOL UpdateAttachment(const TESSARYDOCUMENTATTACHMENTDATA* attachment, IStream* data) override
    {
        updatedAttachments.push_back(*attachment);
        attachmentHadData.push_back(data != nullptr);
        return updateResult;
    }
    void GetDocument(const wchar_t*, const wchar_t* documentGuid, TESSARYDOCUMENTDATA* document) override
    {
        const auto found = localDocuments.find(documentGuid);
        if (found != localDocuments.end())
            *document = found->second;
    }
    void GetAttachment(const wchar_t*, const wchar_t* attachmentGuid,
                       TESSARYDOCUMENTATTACHMENTDATA* attachment) override
    {
        const auto found = localAttachments.find(attachmentGuid);
        if (found != localAttachments.end())
            *attachment = found->second;
    }
    BOOL GetLocalVersion(const wchar_t* guid, __int64* documentVersion, __int64* attachmentVersion) override
    {
        const auto found = versions.find(guid);
        if (found != versions.end()) {
            *documentVersion = found->second.first;
            *attachmentVersion = found->second.second;
        }
        return versionResult;
    }
    BOOL SetLocalVersion(const wchar_t* guid, __int64 documentVersion, __int64 attachmentVersion) override
    {
        versions[guid] = {documentVersion, attachmentVersion};
        storedVersions.emplace_back(guid, std::make_pair(documentVersion, attachmentVersion));
        return versionResult;
    }
    BOOL IsCanceled() override
    {
        ++cancelQueries;
        return cancelAfter >= 0 && cancelQueries > cancelAfter;
    }

    // Answers.
    std::wstring answerUser;
    std::wstring answerPassword;
    BOOL updateResult = TRUE;
    BOOL versionResult = TRUE;
    int cancelAfter = -1;  // IsCanceled answers TRUE from call cancelAfter + 1 on; -1: never
    std::map<std::wstring, TESSARYDOCUMENTDATA> localDocuments;
    std::map<std::wstring, TESSARYDOCUMENTATTACHMENTDATA> localAttachments;
    std::map<std::wstring, std::pair<__int64, __int64>> versions;

    // What happened.
    std::vector<std::pair<DWORD, DWORD>> progress;
    std::vector<int> steps;
    std::vector<std::wstring> books;
    std::vector<std::pair<int, int>> bookIndexes;
    std::vector<std::pair<int, int>> stepProgress;
    std::vector<std::pair<int, std::wstring>> logs;
    int accountQueries = 0;
    std::vector<std::pair<std::wstring, std::wstring>> queriedWith;
    std::vector<TESSARYDOCUMENTDATA> updatedDocuments;
    std::vector<bool> documentHadData;
    std::vector<TESSARYDOCUMENTATTACHMENTDATA> updatedAttachments;
    std::vector<bool> attachmentHadData;
    std::vector<std::pair<std::wstring, std::pair<__int64, __int64>>> storedVersions;
    int cancelQueries = 0;
};
