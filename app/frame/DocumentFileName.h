#pragma once
// The answer to WM_QEL_GETDOCUMENTFILENAME: the data file of "<subscription guid>_<document guid>".
#include <windows.h>

#include "librarydata/Database.h"

// Copies the file's path into reply (kDocumentFileNameLength characters); 1 when the file exists.
LRESULT AnswerDocumentFileName(CTessaryDatabase& database, const wchar_t* request, wchar_t* reply);
