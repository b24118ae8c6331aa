// The menus classes the framework registers.
#include "nyuser/menus/menu_bar.h"
#include "nyuser/menus/menu_widget.h"
#include "nyuser/menus/pop_up_menu.h"
#include "nyuser/user_types.h"

namespace NyUser {

NyCore::TypeData* const MenuTypes[] = {&Menus::MenuWidget::MetaData, &Menus::MenuBar::MetaData,
                                       &Menus::PopUpMenu::MetaData, nullptr};

}
