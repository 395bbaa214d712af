#include "app/startup/SingletonApp.h"

CQelSingletonApp& CQelSingletonApp::GetInstance()
{
    static CQelSingletonApp instance;
    return instance;
}

BOOL CQelSingletonApp::CheckSingleInstance(const wchar_t* name)
{
    m_mutex.Attach(::CreateMutexW(nullptr, TRUE, name));
    if (m_mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        m_mutex.Close();
        return FALSE;
    }
    return TRUE;
}
