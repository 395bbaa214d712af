#pragma once
// Resizing for a dialog: per control id, whether the control moves or grows with the dialog,
// in x and in y, by the whole change of the dialog's size since the template placed it. The
// initial size becomes the minimum tracking size; both limits may change later. A dialog
// mixes it in and chains to it:
//
//   case WM_INITDIALOG:
//       InitResizing(hwnd, {{1003, kResizeSizeX | kResizeSizeY}, {1010, kResizeMoveX}}, TRUE);
//   ...
//   return ProcessResizing(hwnd, message, wParam, lParam, result);
#include <windows.h>

#include <vector>

enum : UINT { kResizeMoveX = 1, kResizeMoveY = 2, kResizeSizeX = 4, kResizeSizeY = 8 };

struct CResizeRule {
    int id;
    UINT flags;  // kResize* bits
};

class CDialogResizer {
public:
    // Takes every control where it stands now; adds WS_CLIPCHILDREN and, when asked,
    // a size grip in the bottom-right corner. Controls missing from the dialog are skipped.
    void InitResizing(HWND dialog, const std::vector<CResizeRule>& rules, BOOL gripper);

    // Window sizes for WM_GETMINMAXINFO; 0 in either direction leaves the system's limit.
    SIZE GetMinTrackSize() const { return m_minTrack; }
    void SetMinTrackSize(SIZE size) { m_minTrack = size; }
    void SetMaxTrackSize(SIZE size) { m_maxTrack = size; }

    BOOL ProcessResizing(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    ~CDialogResizer() = default;

private:
    void Layout(HWND dialog, int width, int height, BOOL maximized) const;

    struct Control {
        HWND window;
        UINT flags;
        RECT initial;  // in the dialog's client coordinates
    };
    std::vector<Control> m_controls;
    SIZE m_initialClient{};
    SIZE m_minTrack{};
    SIZE m_maxTrack{};
    HWND m_gripper = nullptr;
};
