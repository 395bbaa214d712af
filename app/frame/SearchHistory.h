#pragma once
// The searches of this run behind the document pane's history menu: the newest 50, oldest
// first. Each keeps its result rows so that picking it shows them at once, but the rows of
// the whole history stay within a byte budget: beyond it the oldest searches lose theirs,
// keep what is needed to run them again, and are run again when picked.
#include <windows.h>

#include <string>
#include <vector>

#include "librarydata/DatabaseRecords.h"

struct SearchHistoryEntry {
    std::wstring text;
    int scope = 0;
    std::wstring location;  // the folder the search was made from
    std::vector<TESSARYDOCUMENTDATA> results;
    BOOL resultsKept = TRUE;  // FALSE: the rows went to the budget and the search runs again
    size_t resultsBytes = 0;
};

class CSearchHistory {
public:
    static constexpr size_t kMaxEntries = 50;
    // A typical row costs about 690 bytes: some 76,000 rows over all the searches.
    static constexpr size_t kDefaultResultsBudget = 50 * 1024 * 1024;

    // What the rows hold in memory: the records, and their texts where a text lives outside its record.
    static size_t ResultsBytes(const std::vector<TESSARYDOCUMENTDATA>& results);

    // Counts from the next search on.
    void SetResultsBudget(size_t bytes) { m_budget = bytes; }
    // The newest goes last; the oldest leaves once there are more than 50.
    void Add(SearchHistoryEntry entry);

    const std::vector<SearchHistoryEntry>& Entries() const { return m_entries; }

private:
    void DropResults(SearchHistoryEntry& entry);

    std::vector<SearchHistoryEntry> m_entries;
    size_t m_budget = kDefaultResultsBudget;
    size_t m_keptBytes = 0;
};
