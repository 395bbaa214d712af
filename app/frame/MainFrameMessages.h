#pragma once
// Messages the main frame answers for windows of other threads and parts.
#include <windows.h>

// wParam: "<subscription guid>_<document guid>"; lParam: a reply buffer of
// kDocumentFileNameLength characters. 1 with the document's data-file path copied, else 0.
constexpr UINT WM_QEL_GETDOCUMENTFILENAME = WM_USER + 1100;
constexpr size_t kDocumentFileNameLength = 1024;
