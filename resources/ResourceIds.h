#pragma once
// Ids of the reader's resources: dialogs and their controls, menus, commands,
// strings, icons, bitmaps and the tab view's tool bar. Plain defines, since the
// resource compiler reads this file too. One number may name resources of
// different kinds (dialog 204, menu 204 and icon 204 are three resources).

// Dialogs and their controls.
#define IDD_WINDOWS 203
#define IDC_WINDOWS_LIST 1001
#define IDC_WINDOWS_ACTIVATE 1002
#define IDC_WINDOWS_CLOSE 1003

#define IDD_SYNC 204
#define IDC_SYNC_STEPS 1000
#define IDC_SYNC_OVERALL_PROGRESS 1001
#define IDC_SYNC_ITEM_PROGRESS 1002
#define IDC_SYNC_LOG 1003
#define IDC_SYNC_STEP_TEXT 1005
#define IDC_SYNC_STATUS_TEXT 1006
#define IDC_SYNC_DETAILS 1008
#define IDC_SYNC_ICON 1009
#define IDC_SYNC_HIDE 1010
#define IDC_SYNC_STOP 1011

#define IDD_QUERY_USER_ACCOUNT 206
#define IDC_QUERY_USER_ACCOUNT_REGISTER 1002
#define IDC_QUERY_USER_ACCOUNT_EMAIL 1010
#define IDC_QUERY_USER_ACCOUNT_PASSWORD 1012

#define IDD_ABOUT 569
#define IDC_ABOUT_MAKER_LINK 1029
#define IDC_ABOUT_TITLE 1069
#define IDC_ABOUT_SECOND_TITLE 1070
#define IDC_ABOUT_HOME_LINK 1071
#define IDC_ABOUT_ICON 1072
#define IDC_ABOUT_TEXT 1073
#define IDC_ABOUT_COPYRIGHT 1074
#define IDC_ABOUT_YEARS 1075

#define IDD_NEW_ACCOUNT 591
#define IDC_NEW_ACCOUNT_REGISTER 1002
#define IDC_NEW_ACCOUNT_PASSWORD 1012
#define IDC_NEW_ACCOUNT_PATH 1029
#define IDC_NEW_ACCOUNT_USER_NAME 1056

#define IDD_CHOOSE_ACCOUNT 599
#define IDC_CHOOSE_ACCOUNT_LIST 1049

// Context and drop-down menus; each holds one pop-up, shown as sub-menu 0.
// The tool-bar drop-downs carry the id of their button's command.
#define IDR_DOCUMENT_LIST_MENU 202
#define IDR_TAB_MENU 204
#define IDR_FOLDER_TREE_MENU 213
#define IDR_ATTACHMENT_LIST_MENU 402
#define IDR_SEARCH_SCOPE_MENU 404
#define IDR_SORT_MENU 405
#define IDR_TOOLS_MENU 32785
#define IDR_HELP_MENU 32786
#define IDR_ZOOM_MENU 32818

// Commands. The tool-bar commands have strings "text\ntip" (or one plain text).
#define ID_UPDATE 32775
#define ID_FULL_SCREEN 32776
#define ID_PRINT 32777
#define ID_PRINT_PREVIEW 32778
#define ID_PAGE_SETUP 32779
#define ID_ATTACHMENTS 32780
#define ID_VIEW_WINDOWS 32782
#define ID_OPEN_IN_NEW_TAB 32783
#define ID_NEW_ACCOUNT 32784
#define ID_TOOLS 32785
#define ID_HELP 32786
#define ID_ABOUT 32787
#define ID_REFRESH 32788
#define ID_CLOSE_TAB 32790
#define ID_CLOSE_ALL 32791
#define ID_CLOSE_ALL_BUT_THIS 32792
#define ID_CLOSE_LEFT 32793
#define ID_CLOSE_RIGHT 32794
#define ID_SORT_DATE_CREATED 32795
#define ID_SORT_TITLE 32796
#define ID_SORT_DATE_MODIFIED 32801
#define ID_SORT_LOCATION 32803
#define ID_SEARCH_CURRENT_FOLDER 32804
#define ID_SEARCH_SUB_FOLDERS 32805
#define ID_SEARCH_ALL_DOCUMENTS 32806
#define ID_ZOOM 32818
#define ID_ZOOM_IN 32819
#define ID_ZOOM_OUT 32820
#define ID_ZOOM_400 32821
#define ID_ZOOM_200 32822
#define ID_ZOOM_150 32823
#define ID_ZOOM_125 32824
#define ID_ZOOM_100 32825
#define ID_ZOOM_75 32826
#define ID_ZOOM_50 32827
#define ID_ZOOM_CUSTOM 32828
// The attachment list's "&Open" shares its number with "Close All But This":
// each window carries out only the commands of the menus it tracks itself.
#define ID_OPEN_ATTACHMENT 32792

// Strings.
#define IDS_APP_NAME 128
#define IDS_FOLDERS 129
#define IDS_OPTIONS 131
#define IDS_ASCENDING 132
#define IDS_SORT_BY_DATE_CREATED 135
#define IDS_SORT_BY_DATE_MODIFIED 136
#define IDS_SORT_BY_LOCATION 139
#define IDS_SORT_BY_TITLE 140
#define IDS_DESCENDING 142
#define IDS_NO_SEARCH_HISTORY 144
#define IDS_BOOKMARKS 145
#define IDS_ATTACHMENTS 146
#define IDS_COLUMN_NAME 147
#define IDS_COLUMN_SIZE 148
#define IDS_COLUMN_TYPE 149
#define IDS_THREAD_FAILED 150
#define IDS_SYNC_FAILED 151
// The sync steps 0 to 6 are IDS_STEP_LOGIN + step.
#define IDS_STEP_LOGIN 154
#define IDS_STEP_GET_BOOKS 155
#define IDS_STEP_GET_LOCAL_VERSION 156
#define IDS_STEP_DOCUMENTS_LIST 157
#define IDS_STEP_SYNC_DOCUMENTS 158
#define IDS_STEP_ATTACHMENTS_LIST 159
#define IDS_STEP_SYNC_ATTACHMENTS 160
#define IDS_DATABASE_CREATE_FAILED 161
#define IDS_RESTART_TO_SWITCH 162
#define IDS_SYNC_DETAILS 163
#define IDS_ACCOUNTS_NOT_OPENED 164
#define IDS_ACCOUNT_DATABASE_DAMAGED 165
#define IDS_ACCOUNT_DATABASE_NOT_OPENED 166
#define IDS_ACCOUNTS_NOT_OPENED_MORE 167

// Icons. The program's icon shares its number with the frame's title string.
#define IDI_APP 128
#define IDI_STEP_RUNNING 202
#define IDI_STEP_DONE 203
#define IDI_STEP_FAILED 204
#define IDI_ZOOM 207
#define IDI_SYNC 208
// The sync dialog's turning icon, four frames at 64 x 64.
#define IDI_SYNC_FRAME_1 209
#define IDI_SYNC_FRAME_2 210
#define IDI_SYNC_FRAME_3 211
#define IDI_SYNC_FRAME_4 212
#define IDI_BOOK 214
#define IDI_FOLDER 216
#define IDI_ATTACHMENT 217
// Document icons by the document's type or extension.
#define IDI_DOC_ASP 219
#define IDI_DOC_ASPX 220
#define IDI_DOC_BMP 221
#define IDI_DOC_CPP 222
#define IDI_DOC_CSS 223
#define IDI_DOC_DOC 224
#define IDI_DOC_DOCUMENT 225
#define IDI_DOC_DOCX 226
#define IDI_DOC_H 227
#define IDI_DOC_HTM 228
#define IDI_DOC_HTML 229
#define IDI_DOC_JPG 230
#define IDI_DOC_JS 231
#define IDI_DOC_MAIL 232
#define IDI_DOC_MHT 233
#define IDI_DOC_NOTE 234
#define IDI_DOC_PDF 235
#define IDI_DOC_PDS 236
#define IDI_DOC_PERL 237
#define IDI_DOC_PHP 238
#define IDI_DOC_PNG 239
#define IDI_DOC_PPT 240
#define IDI_DOC_PPTX 241
#define IDI_DOC_PY 242
#define IDI_DOC_RTF 243
#define IDI_DOC_SQL 244
#define IDI_DOC_TEXT 245
#define IDI_DOC_TXR 246
#define IDI_DOC_URL 247
#define IDI_DOC_VB 248
#define IDI_DOC_WPS 249
#define IDI_DOC_XLS 250
#define IDI_DOC_XLSX 251
#define IDI_DOC_XPS 252
#define IDI_DOC_ZIP 253
#define IDI_VIRTUAL_FOLDER 256
#define IDI_SEARCH 300
#define IDI_CLEAR_SEARCH 301
#define IDI_SEARCH_HISTORY 420

// Bitmaps and the tab view's tool bar (one 16 x 15 button: "View Windows").
#define IDR_TAB_TOOLBAR 205
#define IDB_TAB_TOOLBAR 205
#define IDB_ABOUT_BANNER 425
