#pragma once
// Hex texts of byte strings, so expected vectors can be pasted as computed
// by Python or openssl.

#include <string>
#include <vector>

inline std::vector<unsigned char> FromHex(const std::string& hex)
{
    std::vector<unsigned char> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

inline std::string ToHex(const unsigned char* data, size_t length)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < length; ++i) {
        hex += kDigits[data[i] >> 4];
        hex += kDigits[data[i] & 15];
    }
    return hex;
}

inline std::string ToHex(const std::vector<unsigned char>& bytes)
{
    return ToHex(bytes.data(), bytes.size());
}
