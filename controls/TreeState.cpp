#include "controls/TreeState.h"

#include "foundation/Global.h"
#include "foundation/MD5.h"
#include "foundation/MessageFormat.h"

namespace {

HTREEITEM NextItem(HWND tree, UINT relation, HTREEITEM item)
{
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

HTREEITEM QelTreeNextItem(HWND tree, HTREEITEM item)
{
    if (const HTREEITEM child = NextItem(tree, TVGN_CHILD, item))
        return child;
    for (; item; item = NextItem(tree, TVGN_PARENT, item)) {
        if (const HTREEITEM sibling = NextItem(tree, TVGN_NEXT, item))
            return sibling;
    }
    return nullptr;
}

void QelTreeScrollTo(HWND tree, POINT position)
{
    // The scroll bar alone would move its thumb and leave the items where they were.
    ::SetScrollPos(tree, SB_HORZ, position.x, FALSE);
    ::SendMessageW(tree, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position.x), 0);
    ::SetScrollPos(tree, SB_VERT, position.y, FALSE);
    ::SendMessageW(tree, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position.y), 0);
}

std::wstring QelTreeStateValueName(const std::wstring& path)
{
    return L"_" + QelMD5WordHexZeroPaddedOfString(path.c_str());
}

void QelTreeLogSectionFailure(const wchar_t* section)
{
    TessaryWriteLog(QelFormatString1(L"Failed to get section: %1", section));
}
