#pragma once
// Memory streams for tests, filled and read with the plain COM calls, so that
// the stream helpers under test never check their own work.

#include <gtest/gtest.h>
#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

inline Microsoft::WRL::ComPtr<IStream> StreamWith(const void* data, size_t size)
{
    Microsoft::WRL::ComPtr<IStream> stream;
    EXPECT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    ULONG written = 0;
    if (stream && size) {
        EXPECT_EQ(S_OK, stream->Write(data, static_cast<ULONG>(size), &written));
    }
    return stream;
}

inline Microsoft::WRL::ComPtr<IStream> StreamWith() { return StreamWith(nullptr, 0); }
inline Microsoft::WRL::ComPtr<IStream> StreamWith(const std::string& text) { return StreamWith(text.data(), text.size()); }
inline Microsoft::WRL::ComPtr<IStream> StreamWith(const std::vector<unsigned char>& bytes)
{
    return StreamWith(bytes.data(), bytes.size());
}

// The whole content; the stream is left at its end.
inline std::vector<unsigned char> StreamBytes(IStream* stream)
{
    STATSTG stat = {};
    EXPECT_EQ(S_OK, stream->Stat(&stat, STATFLAG_NONAME));
    std::vector<unsigned char> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    if (!bytes.empty())
        stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    bytes.resize(read);
    return bytes;
}

inline std::string StreamText(IStream* stream)
{
    const auto bytes = StreamBytes(stream);
    return std::string(bytes.begin(), bytes.end());
}

inline ULONGLONG StreamPosition(IStream* stream)
{
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER position = {};
    stream->Seek(zero, STREAM_SEEK_CUR, &position);
    return position.QuadPart;
}
