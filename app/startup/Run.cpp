#include "app/startup/Run.h"

#include "app/frame/MainFrame.h"
#include "framework/MessageLoop.h"

int Run(const wchar_t*, int)
{
    CUiMessageLoop loop;
    UiModule().AddMessageLoop(&loop);
    int result = -1;
    {
        CMainFrame frame;
        if (!frame.OpenDatabase()) {
            result = -1;
        } else if (!frame.CreateFrame(RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + 800, CW_USEDEFAULT + 600})) {
            result = 0;
        } else {
            frame.RestoreLayout();
            result = loop.Run();
        }
    }
    UiModule().RemoveMessageLoop();
    return result;
}
