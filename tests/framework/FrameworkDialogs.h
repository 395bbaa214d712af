#pragma once
// Resource ids of the framework tests' templates (FrameworkDialogs.rc).
#define IDD_RESIZE_TEST 300
#define IDD_BINDING_TEST 301
#define IDS_FRAME_TITLE 128
#define IDC_WIDE_EDIT 1001
#define IDC_GROWING_LIST 1002
#define IDC_CORNER_BUTTON 1003
#define IDC_BOTTOM_EDIT 1004
#define IDC_FIXED_LABEL 1005
#define IDC_NAME_EDIT 1010
