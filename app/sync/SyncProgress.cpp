#include "app/sync/SyncProgress.h"

namespace {

struct StepShare {
    int base;
    int span;
};

constexpr StepShare kShares[] = {{0, 2}, {2, 2}, {0, 1}, {1, 4}, {5, 75}, {80, 5}, {85, 15}};

}  // namespace

int TessarySyncOverallProgress(int step, int bookIndex, int bookCount, int position, int total)
{
    if (step < 0 || step >= static_cast<int>(sizeof kShares / sizeof kShares[0]))
        return 0;
    const StepShare share = kShares[step];
    // In 64 bits: a 32-bit product would wrap for long lists.
    const int part = total == 0 ? 0 : static_cast<int>(static_cast<double>(static_cast<long long>(position) * share.span) / total);
    if (step < 2)
        return share.base + part;
    if (bookCount < 1)
        return 0;
    const double perBook = 96.0 / bookCount;
    return static_cast<int>(bookIndex * perBook + 4.0 + (share.base + part) / 100.0 * perBook);
}
