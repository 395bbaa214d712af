#pragma once
// How the document list shows a time: "%1 hours ago", "%1 minutes ago" or "%1 seconds
// ago" on the same day, "Yesterday", "The day before yesterday", else the long date.
// Both times are 64-bit seconds; the calendar days are local ones.
#include <string>

std::wstring FormatRelativeDate(__int64 time, __int64 now);
