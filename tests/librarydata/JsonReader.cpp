#include "JsonReader.h"

#include "common/TestText.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

const CJsonValue& NullValue()
{
    static const CJsonValue null;
    return null;
}

class CParser
{
public:
    explicit CParser(const std::string& text) : m_text(text) {}

    bool ParseDocument(CJsonValue& value)
    {
        if (!ParseValue(value, 0))
            return false;
        SkipBlanks();
        return m_pos == m_text.size();
    }

private:
    void SkipBlanks()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\r' ||
                                         m_text[m_pos] == '\n'))
            ++m_pos;
    }

    bool Take(char c)
    {
        SkipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    bool TakeWord(const char* word)
    {
        const std::string w(word);
        if (m_text.compare(m_pos, w.size(), w) != 0)
            return false;
        m_pos += w.size();
        return true;
    }

    static void AppendUtf8(std::string& out, unsigned code)
    {
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }

    bool Hex4(unsigned& code)
    {
        if (m_pos + 4 > m_text.size())
            return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            code <<= 4;
            if (c >= '0' && c <= '9')
                code |= unsigned(c - '0');
            else if (c >= 'a' && c <= 'f')
                code |= unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                code |= unsigned(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    bool ParseString(std::string& out)
    {
        if (!Take('"'))
            return false;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"')
                return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size())
                return false;
            const char e = m_text[m_pos++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                unsigned code = 0;
                if (!Hex4(code))
                    return false;
                if (code >= 0xD800 && code < 0xDC00 && m_text.compare(m_pos, 2, "\\u") == 0) {
                    m_pos += 2;
                    unsigned low = 0;
                    if (!Hex4(low))
                        return false;
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(out, code);
                break;
            }
            default: out += e; break;
            }
        }
        return false;
    }

    bool ParseValue(CJsonValue& value, int depth)
    {
        if (depth > 64)
            return false;
        SkipBlanks();
        if (m_pos >= m_text.size())
            return false;
        const char c = m_text[m_pos];
        if (c == '"') {
            value.kind = CJsonValue::String;
            return ParseString(value.text);
        }
        if (c == '{') {
            ++m_pos;
            value.kind = CJsonValue::Object;
            if (Take('}'))
                return true;
            do {
                std::string name;
                CJsonValue member;
                if (!ParseString(name) || !Take(':') || !ParseValue(member, depth + 1))
                    return false;
                value.members.emplace_back(std::move(name), std::move(member));
            } while (Take(','));
            return Take('}');
        }
        if (c == '[') {
            ++m_pos;
            value.kind = CJsonValue::Array;
            if (Take(']'))
                return true;
            do {
                CJsonValue item;
                if (!ParseValue(item, depth + 1))
                    return false;
                value.items.push_back(std::move(item));
            } while (Take(','));
            return Take(']');
        }
        for (const char* word : {"true", "false"}) {
            if (TakeWord(word)) {
                value.kind = CJsonValue::Bool;
                value.text = word;
                return true;
            }
        }
        if (TakeWord("null"))
            return true;
        const size_t start = m_pos;
        while (m_pos < m_text.size() && std::string("+-.0123456789eE").find(m_text[m_pos]) != std::string::npos)
            ++m_pos;
        if (m_pos == start)
            return false;
        value.kind = CJsonValue::Number;
        value.text = m_text.substr(start, m_pos - start);
        return true;
    }

    const std::string& m_text;
    size_t m_pos = 0;
};

}  // namespace

const CJsonValue& CJsonValue::operator[](const char* name) const
{
    for (const auto& member : members)
        if (member.first == name)
            return member.second;
    return NullValue();
}

const CJsonValue& CJsonValue::operator[](size_t index) const
{
    return index < items.size() ? items[index] : NullValue();
}

long long CJsonValue::AsInt() const
{
    return std::strtoll(text.c_str(), nullptr, 10);
}

std::wstring CJsonValue::AsWide() const
{
    return FromUtf8(text);
}

bool ParseJson(const std::string& text, CJsonValue& value)
{
    value = CJsonValue();
    return CParser(text).ParseDocument(value);
}

std::string JsonText(const std::string& utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}
