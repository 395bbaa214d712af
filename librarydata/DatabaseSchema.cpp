#include "librarydata/DatabaseSchema.h"

const TessaryTableDefinition kTessaryTables[3] = {
    {kDocumentTable,
     L"create table QEL_READER_DOCUMENT\n"
     L"(\n"
     L"   SUBSCRIPTION_GUID              char(36)                       not null,\n"
     L"   DOCUMENT_GUID                   char(36)                       not null,\n"
     L"   DOCUMENT_TITLE                  varchar(768)                   not null,\n"
     L"   DOCUMENT_LOCATION               varchar(768),\n"
     L"   DT_CREATED                     char(19),\n"
     L"   DT_MODIFIED                    char(19),\n"
     L"   DOCUMENT_ICON_INDEX             int,\n"
     L"   DOCUMENT_ATTACHEMENT_COUNT      int,\n"
     L"   DOCUMENT_INDEXED                int,\n"
     L"   QEL_VERSION                    int64,\n"
     L"   DOCUMENT_DATA_MD5               char(32),\n"
     L"   primary key (SUBSCRIPTION_GUID, DOCUMENT_GUID)\n"
     L")\n"},
    {kAttachmentTable,
     L"create table QEL_READER_DOCUMENT_ATTACHMENT\n"
     L"(\n"
     L"   SUBSCRIPTION_GUID\t\t         char(36)                       not null,\n"
     L"   ATTACHMENT_GUID                   char(36)                       not null,\n"
     L"   DOCUMENT_GUID                      varchar(36)                    not null,\n"
     L"   ATTACHMENT_NAME                   varchar(768)                   not null,\n"
     L"   ATTACHMENT_DESCRIPTION            varchar(600),\n"
     L"   QEL_VERSION                       int64,\n"
     L"   ATTACHMENT_DATA_MD5               char(32),\n"
     L"   primary key (SUBSCRIPTION_GUID, ATTACHMENT_GUID)\n"
     L")\n"},
    {kMetaTable,
     L"create table QEL_READER_META\n"
     L"(\n"
     L"   META_NAME                       varchar(50),\n"
     L"   META_KEY                        varchar(50),\n"
     L"   META_VALUE                      varchar(3000),\n"
     L"   DT_MODIFIED                     char(19),\n"
     L"   primary key (META_NAME, META_KEY)\n"
     L")\n"},
};

// The folder and book lookups compare with "like", which only a NOCASE index
// can serve; Quick Views take the newest rows by each date.
const wchar_t* const kTessaryIndexes[] = {
    L"create index if not exists QEL_READER_DOCUMENT_SUBSCRIPTION_INDEX "
    L"on QEL_READER_DOCUMENT (SUBSCRIPTION_GUID collate nocase, DOCUMENT_LOCATION)",
    L"create index if not exists QEL_READER_DOCUMENT_LOCATION_INDEX "
    L"on QEL_READER_DOCUMENT (DOCUMENT_LOCATION collate nocase)",
    L"create index if not exists QEL_READER_DOCUMENT_CREATED_INDEX on QEL_READER_DOCUMENT (DT_CREATED)",
    L"create index if not exists QEL_READER_DOCUMENT_MODIFIED_INDEX on QEL_READER_DOCUMENT (DT_MODIFIED)",
    L"create index if not exists QEL_READER_DOCUMENT_ATTACHMENT_DOCUMENT_INDEX "
    L"on QEL_READER_DOCUMENT_ATTACHMENT (SUBSCRIPTION_GUID, DOCUMENT_GUID)",
};
const std::size_t kTessaryIndexCount = sizeof(kTessaryIndexes) / sizeof(kTessaryIndexes[0]);
