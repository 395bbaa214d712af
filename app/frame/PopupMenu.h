#pragma once
// The reader's pop-up menus: those of menu resources, and items whose text comes from data.
#include <windows.h>

#include <string>

#include "foundation/Strings.h"
#include "foundation/Translations.h"
#include "framework/GdiOwners.h"
#include "framework/WindowObject.h"

// Sub-menu 0 of a menu resource, loaded into the owner's slot on first use with its
// texts translated; nullptr when the resource is missing.
inline HMENU LoadPopupMenu(CMenuOwner& menu, UINT id)
{
    if (!menu) {
        menu.Attach(::LoadMenuW(FrameworkInstance(), MAKEINTRESOURCEW(id)));
        QelTranslateMenu(menu);
    }
    return menu ? ::GetSubMenu(menu, 0) : nullptr;
}

// A text from data (a title, a search) as a menu item shows it: every "&" doubled, so
// that none marks the next letter as a mnemonic.
inline std::wstring DataMenuText(const std::wstring& text) { return QelReplaceString(text.c_str(), L"&", L"&&"); }
