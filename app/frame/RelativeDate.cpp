#include "app/frame/RelativeDate.h"

#include <cmath>
#include <string>

#include "foundation/DateTime.h"
#include "foundation/MessageFormat.h"
#include "foundation/Translations.h"

namespace {

// The local calendar day, counted as automation dates count them.
long LocalDay(__int64 time)
{
    return static_cast<long>(std::floor(QelTimeToOleDate(&time).GetValue()));
}

std::wstring Count(const wchar_t* text, __int64 count)
{
    return QelFormatString1(QelTranslateText(text).c_str(), std::to_wstring(count).c_str());
}

}  // namespace

std::wstring FormatRelativeDate(__int64 time, __int64 now)
{
    const long days = LocalDay(now) - LocalDay(time);
    if (days == 0) {
        // A time ahead of ours (a server clock running fast) is as new as can be.
        const __int64 seconds = now > time ? now - time : 0;
        if (seconds / 3600 > 0)
            return Count(L"%1 hours ago", seconds / 3600);
        if (seconds / 60 < 1)
            return Count(L"%1 seconds ago", seconds);
        return Count(L"%1 minutes ago", seconds / 60);
    }
    if (days == 1)
        return QelTranslateText(L"Yesterday");
    if (days == 2)
        return QelTranslateText(L"The day before yesterday");
    return QelFormatLongDate(QelTimeToOleDate(&time));
}
