#include "platform/mfc/CMenu.h"

#include <map>
#include <memory>

CMenu* CMenu::FromHandle(HMENU menu)
{
    if (!menu) {
        return nullptr;
    }
    static std::map<HMENU, std::unique_ptr<CMenu>> menus;
    auto& slot = menus[menu];
    if (!slot) {
        slot = std::make_unique<CMenu>();
        slot->m_hMenu = menu;
    }
    return slot.get();
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCSTR text)
{
    return ::AppendMenuA(m_hMenu, flags, id, text);
}
