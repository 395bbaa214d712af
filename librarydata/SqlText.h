#pragma once
// Statement texts of the account database, put together by plain
// concatenation: values arrive here already as literals (QelSqlString), so
// nothing a value holds is ever read as a format or substituted again.

#include <windows.h>

#include <string>

// "select <columns> from <table>", with " where <condition>" when one is given.
std::wstring TessarySelectSql(const wchar_t* columns, const wchar_t* table, const wchar_t* condition = nullptr);

// A like pattern that matches the text literally (its "%", "_" and "\" escaped),
// with any text allowed before and after it as asked: the literal and its escape
// clause. An empty text gives NULL, which matches nothing.
std::wstring QelSqlLikeString(const wchar_t* text, BOOL anyBefore = FALSE, BOOL anyAfter = FALSE);
