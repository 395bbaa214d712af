#pragma once
// Resources of the toolbar, icon edit and gallery tests (ToolBarTest.rc, IconEditTest.rc,
// GalleryInteractiveTest.rc).

#define IDS_TEST_TOOL_UPDATE 5101
#define IDS_TEST_TOOL_LONG 5102
#define IDR_TEST_TOOL_MENU 5103
#define ID_TEST_TOOL_SYNC 5104

#define IDI_TEST_SEARCH 5111
#define IDI_TEST_CLEAR 5112
#define IDI_TEST_HISTORY 5113

#define IDS_GALLERY_UPDATE 5121
#define IDS_GALLERY_SYNC 5122
#define IDS_GALLERY_READING 5123
#define IDS_GALLERY_DELETE 5124
#define IDS_GALLERY_VIEW 5125
