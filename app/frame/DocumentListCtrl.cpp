#include "app/frame/DocumentListCtrl.h"

#include "app/frame/PopupMenu.h"
#include "resources/ResourceIds.h"

namespace {

const TESSARYICONTABLEENTRY kDocumentIcons[] = {
    {L"htm", IDI_DOC_HTM},   {L"html", IDI_DOC_HTML}, {L"asp", IDI_DOC_ASP},   {L"aspx", IDI_DOC_ASPX},
    {L"bmp", IDI_DOC_BMP},   {L"cpp", IDI_DOC_CPP},   {L"css", IDI_DOC_CSS},   {L"doc", IDI_DOC_DOC},
    {L"document", IDI_DOC_DOCUMENT}, {L"docx", IDI_DOC_DOCX}, {L"h", IDI_DOC_H}, {L"jpg", IDI_DOC_JPG},
    {L"js", IDI_DOC_JS},     {L"eml", IDI_DOC_MAIL},  {L"mail", IDI_DOC_MAIL}, {L"mht", IDI_DOC_MHT},
    {L"note", IDI_DOC_NOTE}, {L"pdf", IDI_DOC_PDF},   {L"pds", IDI_DOC_PDS},   {L"perl", IDI_DOC_PERL},
    {L"php", IDI_DOC_PHP},   {L"png", IDI_DOC_PNG},   {L"ppt", IDI_DOC_PPT},   {L"pptx", IDI_DOC_PPTX},
    {L"py", IDI_DOC_PY},     {L"rtf", IDI_DOC_RTF},   {L"sql", IDI_DOC_SQL},   {L"text", IDI_DOC_TEXT},
    {L"txr", IDI_DOC_TXR},   {L"url", IDI_DOC_URL},   {L"vb", IDI_DOC_VB},     {L"vbs", IDI_DOC_VB},
    {L"wps", IDI_DOC_WPS},   {L"xls", IDI_DOC_XLS},   {L"xlsx", IDI_DOC_XLSX}, {L"xps", IDI_DOC_XPS},
    {L"zip", IDI_DOC_ZIP},   {nullptr, 0},
};

const TESSARYICONTABLEENTRY kAttachmentIcons[] = {
    {L"attachment", IDI_ATTACHMENT},
    {nullptr, 0},
};

}  // namespace

CDocumentListCtrl::CDocumentListCtrl(CTessaryDatabase* database) : CTessaryDocumentListCtrl(database)
{
    SetIconTables(kDocumentIcons, kAttachmentIcons);
}

HMENU CDocumentListCtrl::GetContextMenu()
{
    return LoadPopupMenu(m_menu, IDR_DOCUMENT_LIST_MENU);
}

void CDocumentListCtrl::PrepareContextMenu(int item, HMENU menu)
{
    const BOOL enable = item >= 0 && SendMessage(LVM_GETSELECTEDCOUNT) > 0;
    ::EnableMenuItem(menu, ID_OPEN_IN_NEW_TAB, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
}

BOOL CDocumentListCtrl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                             DWORD mapId)
{
    if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) == ID_OPEN_IN_NEW_TAB) {
        if (ITessaryDocumentListCtrlEvents* events = GetEvents())
            events->OnDocumentsOpenInNewTabs(*this);
        result = 0;
        return TRUE;
    }
    return CTessaryDocumentListCtrl::ProcessWindowMessage(hwnd, message, wParam, lParam, result, mapId);
}
