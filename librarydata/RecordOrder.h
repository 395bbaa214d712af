#pragma once
// Orderings and clean-ups of record lists read from the account database.

#include "librarydata/DatabaseRecords.h"

#include <vector>

// Attachment names ascending, letter case ignored.
bool TessaryCompareAttachmentNames(const TESSARYDOCUMENTATTACHMENTDATA& a, const TESSARYDOCUMENTATTACHMENTDATA& b);

// The document whose later date (created or modified) is the more recent first.
bool TessaryCompareDocumentDates(const TESSARYDOCUMENTDATA& a, const TESSARYDOCUMENTDATA& b);

// Keeps one document of each document GUID (letter case ignored); the list ends
// up ordered by GUID, descending.
void TessaryRemoveDuplicateDocuments(std::vector<TESSARYDOCUMENTDATA>& documents);

// Removes every document but the first whose dates are both older than three
// days before now.
void TessaryRemoveOldDocuments(std::vector<TESSARYDOCUMENTDATA>& documents, __int64 now);
