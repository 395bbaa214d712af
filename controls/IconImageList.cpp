#include "controls/IconImageList.h"

namespace {

std::wstring LowerCased(const wchar_t* path)
{
    std::wstring key = path ? path : L"";
    if (!key.empty())
        ::CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

}  // namespace

BOOL CQelIconImageList::Create(int size)
{
    if (!m_list)
        m_list.Attach(::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 0, 0));
    return m_list ? TRUE : FALSE;
}

int CQelIconImageList::AddIconFile(const wchar_t* path)
{
    const std::wstring key = LowerCased(path);
    const auto found = m_index.find(key);
    if (found != m_index.end())
        return found->second;
    int cx = 16;
    int cy = 16;
    if (!m_list || !::ImageList_GetIconSize(m_list, &cx, &cy))
        cx = cy = 16;
    const CIconOwner icon(static_cast<HICON>(::LoadImageW(nullptr, path, IMAGE_ICON, cx, cy, LR_LOADFROMFILE)));
    return icon ? AddIcon(icon, key) : -1;
}

int CQelIconImageList::AddIcon(HICON icon, const std::wstring& key)
{
    const int index = m_list ? ::ImageList_ReplaceIcon(m_list, -1, icon) : -1;
    if (index < 0)
        return -1;
    m_index[key] = index;
    return index;
}

int CQelIconImageList::FindIcon(const wchar_t* path) const
{
    const auto found = m_index.find(LowerCased(path));
    return found != m_index.end() ? found->second : -1;
}
