#include "app/frame/SearchHistory.h"

#include <cstdint>

namespace {

// A block of the C runtime's heap: its size rounded up to 8 bytes, behind an 8-byte header.
size_t HeapBlockBytes(size_t size)
{
    return (size + 7) / 8 * 8 + 8;
}

// Nothing for a short text held inside the string object itself.
size_t TextBytes(const std::wstring& text)
{
    const auto object = reinterpret_cast<uintptr_t>(&text);
    const auto characters = reinterpret_cast<uintptr_t>(text.data());
    if (characters >= object && characters < object + sizeof text)
        return 0;
    return HeapBlockBytes((text.capacity() + 1) * sizeof(wchar_t));
}

}  // namespace

size_t CSearchHistory::ResultsBytes(const std::vector<TESSARYDOCUMENTDATA>& results)
{
    if (results.capacity() == 0)
        return 0;
    size_t bytes = HeapBlockBytes(results.capacity() * sizeof(TESSARYDOCUMENTDATA));
    for (const TESSARYDOCUMENTDATA& row : results) {
        bytes += TextBytes(row.subscriptionGuid) + TextBytes(row.documentGuid) + TextBytes(row.location) +
                 TextBytes(row.title) + TextBytes(row.type) + TextBytes(row.fileType) + TextBytes(row.dataMD5);
    }
    return bytes;
}

void CSearchHistory::Add(SearchHistoryEntry entry)
{
    if (m_entries.size() >= kMaxEntries) {
        DropResults(m_entries.front());
        m_entries.erase(m_entries.begin());
    }
    entry.results.shrink_to_fit();
    entry.resultsBytes = ResultsBytes(entry.results);
    entry.resultsKept = TRUE;
    m_keptBytes += entry.resultsBytes;
    m_entries.push_back(std::move(entry));
    // A search whose rows alone exceed the budget keeps none of them rather than take the others'.
    if (m_entries.back().resultsBytes > m_budget)
        DropResults(m_entries.back());
    for (auto older = m_entries.begin(); m_keptBytes > m_budget && older != m_entries.end(); ++older)
        DropResults(*older);
}

void CSearchHistory::DropResults(SearchHistoryEntry& entry)
{
    if (!entry.resultsKept || entry.resultsBytes == 0)
        return;
    m_keptBytes -= entry.resultsBytes;
    entry.resultsBytes = 0;
    entry.resultsKept = FALSE;
    std::vector<TESSARYDOCUMENTDATA>().swap(entry.results);
}
