#pragma once
// The records that the account database fills and stores. Times are 64-bit
// seconds values; 0 stands for no time.

#include <string>

// One subscribed book. The database fills the GUID and the name only.
struct TESSARYSUBSCRIPTIONDATA {
    std::wstring guid;
    std::wstring name;
    std::wstring serverUrl;
};

// One row of QEL_READER_DOCUMENT.
struct TESSARYDOCUMENTDATA {
    std::wstring subscriptionGuid;
    std::wstring documentGuid;
    std::wstring location;
    std::wstring title;
    __int64 created = 0;
    __int64 modified = 0;
    // Not stored in the database: the document's type text and its file type.
    std::wstring type;
    std::wstring fileType;
    int iconIndex = 0;
    int attachmentCount = 0;
    int indexed = 0;
    __int64 version = 0;
    std::wstring dataMD5;
};

// One row of QEL_READER_DOCUMENT_ATTACHMENT.
struct TESSARYDOCUMENTATTACHMENTDATA {
    std::wstring subscriptionGuid;
    std::wstring attachmentGuid;
    std::wstring documentGuid;
    std::wstring name;
    std::wstring description;
    __int64 version = 0;
    std::wstring dataMD5;
};

// One row of QEL_READER_META.
struct TESSARYMETADATA {
    std::wstring name;
    std::wstring key;
    std::wstring value;
    __int64 modified = 0;
};
