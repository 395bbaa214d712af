#pragma once
// Sub-menu 0 of a menu resource, loaded into the owner's slot on first use with its
// texts translated; nullptr when the resource is missing.
#include <windows.h>

#include "foundation/Translations.h"
#include "framework/GdiOwners.h"
#include "framework/WindowObject.h"

inline HMENU LoadPopupMenu(CMenuOwner& menu, UINT id)
{
    if (!menu) {
        menu.Attach(::LoadMenuW(FrameworkInstance(), MAKEINTRESOURCEW(id)));
        QelTranslateMenu(menu);
    }
    return menu ? ::GetSubMenu(menu, 0) : nullptr;
}
