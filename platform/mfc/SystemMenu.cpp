#include "platform/mfc/SystemMenu.h"

#include <set>

#include "platform/mfc/Mnemonic.h"

namespace {

std::set<SystemMenu*>& LiveMenus()
{
    static std::set<SystemMenu*> menus;
    return menus;
}

}  // namespace

SystemMenu::SystemMenu(HWND owner) : owner_(owner), menu_(gtk_menu_new())
{
    g_object_ref_sink(menu_);
    Append(MF_STRING, SC_CLOSE, "閉じる(&C)");
    LiveMenus().insert(this);
}

SystemMenu::~SystemMenu()
{
    LiveMenus().erase(this);
    gtk_widget_destroy(menu_);
    g_object_unref(menu_);
}

SystemMenu* SystemMenu::FromHandle(HMENU menu)
{
    auto* candidate = reinterpret_cast<SystemMenu*>(menu);
    return LiveMenus().count(candidate) ? candidate : nullptr;
}

BOOL SystemMenu::Append(UINT flags, UINT_PTR id, LPCSTR text)
{
    GtkWidget* item = nullptr;
    if (flags & MF_SEPARATOR) {
        item = gtk_separator_menu_item_new();
    } else {
        if (!text) {
            return FALSE;
        }
        item = gtk_menu_item_new_with_mnemonic(ToGtkMnemonic(text).c_str());
        g_object_set_data(G_OBJECT(item), "command", GUINT_TO_POINTER(static_cast<guint>(id)));
        g_signal_connect(item, "activate", G_CALLBACK(OnItem), this);
    }
    gtk_menu_shell_append(GTK_MENU_SHELL(menu_), item);
    gtk_widget_show(item);
    return TRUE;
}

void SystemMenu::Revert()
{
    GList* children = gtk_container_get_children(GTK_CONTAINER(menu_));
    int index = 0;
    for (GList* l = children; l; l = l->next, ++index) {
        if (index > 0) {  // the first item is the system's own
            gtk_widget_destroy(GTK_WIDGET(l->data));
        }
    }
    g_list_free(children);
}

void SystemMenu::OnItem(GtkMenuItem* item, gpointer data)
{
    auto* menu = static_cast<SystemMenu*>(data);
    auto command = static_cast<WPARAM>(GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), "command")));
    SendMessageA(menu->owner_, WM_SYSCOMMAND, command, 0);
}
