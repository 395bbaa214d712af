#include "librarydata/SqlText.h"

#include "librarydata/SqlValues.h"

std::wstring TessarySelectSql(const wchar_t* columns, const wchar_t* table, const wchar_t* condition)
{
    std::wstring sql = L"select ";
    sql += columns;
    sql += L" from ";
    sql += table;
    if (condition && *condition) {
        sql += L" where ";
        sql += condition;
    }
    return sql;
}

std::wstring QelSqlLikeString(const wchar_t* text, BOOL anyBefore, BOOL anyAfter)
{
    if (!text || !*text)
        return QelSqlString(text);
    std::wstring pattern = anyBefore ? L"%" : L"";
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'%' || *p == L'_' || *p == L'\\')
            pattern += L'\\';
        pattern += *p;
    }
    if (anyAfter)
        pattern += L'%';
    return QelSqlString(pattern.c_str()) + L" escape '\\'";
}
