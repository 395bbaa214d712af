// The entry point of Tessary.exe.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/startup/Run.h"
#include "app/startup/SingletonApp.h"
#include "foundation/Translations.h"
#include "framework/ActiveXHost.h"
#include "framework/MessageLoop.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show)
{
    if (!CQelSingletonApp::GetInstance().CheckSingleInstance(L"Tessary"))
        return -1;
    ::CoInitialize(nullptr);
    ::DefWindowProcW(nullptr, 0, 0, 0);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The sync dialog's rich edit needs it; it stays loaded.
    ::LoadLibraryW(L"RICHED20.DLL");
    UiModule().Init(instance);
    RegisterActiveXHostClass();
    QelLoadTranslations(L"Tessary", L"QELLANGUAGE");
    const int result = Run(commandLine, show);
    UiModule().Term();
    ::CoUninitialize();
    return result;
}
