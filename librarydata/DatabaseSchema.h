#pragma once
// Table and column names of index.db and the statements that create them.
// The tables are a stored format: their CREATE texts stay exactly as they are.

#include <cstddef>

inline constexpr wchar_t kDocumentTable[] = L"QEL_READER_DOCUMENT";
inline constexpr wchar_t kAttachmentTable[] = L"QEL_READER_DOCUMENT_ATTACHMENT";
inline constexpr wchar_t kMetaTable[] = L"QEL_READER_META";

// The columns every read selects, in the order the row readers take them.
inline constexpr wchar_t kDocumentColumns[] =
    L"SUBSCRIPTION_GUID, DOCUMENT_GUID, DOCUMENT_TITLE, DOCUMENT_LOCATION, DT_CREATED, DT_MODIFIED, "
    L"DOCUMENT_ICON_INDEX, DOCUMENT_ATTACHEMENT_COUNT, DOCUMENT_INDEXED, QEL_VERSION, DOCUMENT_DATA_MD5";
inline constexpr wchar_t kAttachmentColumns[] =
    L"SUBSCRIPTION_GUID, ATTACHMENT_GUID, DOCUMENT_GUID, ATTACHMENT_NAME, ATTACHMENT_DESCRIPTION, "
    L"QEL_VERSION, ATTACHMENT_DATA_MD5";
inline constexpr wchar_t kMetaColumns[] = L"META_NAME, META_KEY, META_VALUE, DT_MODIFIED";

struct TessaryTableDefinition {
    const wchar_t* name;
    const wchar_t* createSql;
};

// Document table, attachment table, meta table, in the order Open creates them.
extern const TessaryTableDefinition kTessaryTables[3];

// Indexes that only speed up the catalogue queries; the tables stay as they are.
extern const wchar_t* const kTessaryIndexes[];
extern const std::size_t kTessaryIndexCount;
