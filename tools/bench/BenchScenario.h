// What the sync benchmarks share: a stopwatch and a scenario for the services
// stand-in of one book whose documents (a page and a picture of about 5 KB
// each) and attachments are made of deterministic text.
#pragma once

#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>

constexpr char kBenchBook[] = "c0000000-0000-4000-8000-00000000000c";

class CStopwatch
{
public:
    CStopwatch() { QueryPerformanceFrequency(&m_frequency); }
    double Now() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return double(now.QuadPart) / double(m_frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_frequency;
};

// Deterministic text that deflates about as well as a picture does not.
class CNoise
{
public:
    std::string Letters(size_t count)
    {
        static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        std::string out(count, ' ');
        for (char& c : out)
            c = alphabet[Next() & 63];
        return out;
    }
    std::string Words(size_t count)
    {
        static const char* const words[] = {"soil", "seed", "water", "light", "frost", "compost", "leaf", "root",
                                            "harvest", "tomato", "bean", "spring", "autumn", "prune", "mulch"};
        std::string out;
        while (out.size() < count) {
            out += words[Next() % 15];
            out += (Next() % 11 == 0) ? ". " : " ";
        }
        out.resize(count);
        return out;
    }
    unsigned Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }

private:
    unsigned m_state = 2463534242u;
};

inline std::string BenchGuid(unsigned kind, unsigned index)
{
    char text[40];
    snprintf(text, sizeof text, "%08x-0000-4000-8000-%012x", kind, index);
    return text;
}

// The account bench@example.com, password "bench", subscribed to the one book.
inline std::string BenchScenario(unsigned documents, unsigned attachments)
{
    CNoise noise;
    std::ostringstream out;
    out << "{\"accounts\": [{\"email\": \"bench@example.com\", \"password\": \"bench\", \"kb_guid\": \"kb\", "
           "\"books\": [\""
        << kBenchBook << "\"]}], \"books\": [{\"guid\": \"" << kBenchBook
        << "\", \"name\": \"Benchmark Book\", \"server\": \"books.tessary.test/bench/\", \"documents\": [";
    for (unsigned i = 0; i < documents; ++i) {
        out << (i ? ",\n" : "") << "{\"guid\": \"" << BenchGuid(0xd0c, i) << "\", \"title\": \"Document " << i
            << "\", \"category\": \"/Folder " << i % 200 << "/\", \"version\": " << i + 1
            << ", \"files\": {\"index.htm\": \"<html><body><img src=\\\"images/p.png\\\"><p>" << noise.Words(5000)
            << "</p></body></html>\", \"images/p.png\": \"" << noise.Letters(5000) << "\"}}";
    }
    out << "], \"attachments\": [";
    for (unsigned i = 0; i < attachments; ++i) {
        out << (i ? ",\n" : "") << "{\"guid\": \"" << BenchGuid(0xa77, i) << "\", \"document_guid\": \""
            << BenchGuid(0xd0c, i % documents) << "\", \"name\": \"attachment-" << i << ".txt\", \"version\": " << i + 1
            << ", \"content\": \"" << noise.Words(2000) << "\"}";
    }
    out << "]}], \"ads\": [{\"title\": \"Bench\", \"url\": \"http://www.example.com/\"}]}";
    return out.str();
}
