#include "librarydata/Database.h"

BOOL CTessaryDatabase::BeginTransaction()
{
    return m_db.IsAutoCommit() && ExecSQL(L"begin immediate transaction");
}

BOOL CTessaryDatabase::CommitTransaction()
{
    // A transaction that SQLite ended on an error took its writes with it.
    if (m_db.IsAutoCommit())
        return FALSE;
    if (ExecSQL(L"commit transaction"))
        return TRUE;
    ExecSQL(L"rollback transaction");
    return FALSE;
}
