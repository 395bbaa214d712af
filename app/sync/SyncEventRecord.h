#pragma once
// One sync event as it crosses from the worker thread to the sync dialog: the
// record lives on the worker's stack while the dialog handles it, so its
// pointers stay valid and the dialog writes its answers straight into them.
#include <windows.h>
#include <objidl.h>

#include "librarydata/DatabaseRecords.h"

// wParam: the event code; lParam: the record's address.
constexpr UINT WM_QEL_SYNCEVENT = WM_USER + 2000;

enum TESSARY_SYNC_EVENT_CODE : int {
    TESSARY_SYNC_EVENT_STEP_BEGIN = 0,
    TESSARY_SYNC_EVENT_SUBSCRIPTION_BEGIN = 1,
    TESSARY_SYNC_EVENT_STEP_PROGRESS = 2,
    TESSARY_SYNC_EVENT_ITEM_PROGRESS = 3,
    TESSARY_SYNC_EVENT_LOG = 4,
    TESSARY_SYNC_EVENT_QUERY_USER_ACCOUNT = 5,
    TESSARY_SYNC_EVENT_UPDATE_DOCUMENT = 6,
    TESSARY_SYNC_EVENT_UPDATE_ATTACHMENT = 7,
    TESSARY_SYNC_EVENT_GET_DOCUMENT = 8,
    TESSARY_SYNC_EVENT_GET_ATTACHMENT = 9,
    TESSARY_SYNC_EVENT_GET_LOCAL_VERSION = 10,
    TESSARY_SYNC_EVENT_SET_LOCAL_VERSION = 11,
    TESSARY_SYNC_EVENT_IS_CANCELED = 12,
};

struct TESSARYSYNCEVENTDATA {
    int step = 0;
    const wchar_t* subscriptionName = nullptr;
    int subscriptionIndex = 0;
    int subscriptionCount = 0;
    int position = 0;
    int total = 0;
    int logLevel = 0;
    const wchar_t* logText = nullptr;
    wchar_t* userName = nullptr;  // TESSARY_SYNC_ACCOUNT_BUFFER characters
    wchar_t* password = nullptr;
    const TESSARYDOCUMENTDATA* document = nullptr;  // UpdateDocument
    const TESSARYDOCUMENTATTACHMENTDATA* attachment = nullptr;
    TESSARYDOCUMENTDATA* documentOut = nullptr;  // GetDocument
    TESSARYDOCUMENTATTACHMENTDATA* attachmentOut = nullptr;
    IStream* data = nullptr;
    const wchar_t* itemGuid = nullptr;
    const wchar_t* subscriptionGuid = nullptr;
    __int64* documentVersionOut = nullptr;
    __int64* attachmentVersionOut = nullptr;
    __int64 documentVersion = -1;
    __int64 attachmentVersion = -1;
    BOOL* stopOut = nullptr;
};
