// A small JSON reader for the tests: enough to read the stand-in's request log,
// and the quoting of the texts that the tests write into scenarios.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct CJsonValue
{
    enum Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Null;
    std::string text;  // strings as UTF-8, numbers and booleans as written
    std::vector<CJsonValue> items;
    std::vector<std::pair<std::string, CJsonValue>> members;

    // A missing member or item reads as null.
    const CJsonValue& operator[](const char* name) const;
    const CJsonValue& operator[](size_t index) const;
    bool IsNull() const { return kind == Null; }
    long long AsInt() const;
    std::wstring AsWide() const;  // a string's text as UTF-16
};

// False for text that is not one JSON value (with nothing after it but blanks).
bool ParseJson(const std::string& text, CJsonValue& value);

// The UTF-8 text as a JSON string, quotes included.
std::string JsonText(const std::string& utf8);
