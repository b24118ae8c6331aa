// The shared part of the menu widgets: the counted menu and the cell search.
#include "nyuser/menus/menu_widget.h"

#include "nycore/graphics/font.h"

namespace NyUser::Menus {

namespace {

// The screen position of the last pointer move the menus took; none at first.
bool anyMove = false;
NyCore::System::WidgetPoint lastMove = {0, 0};

}

NyCore::TypeData MenuWidget::MetaData = {&NyToolkit::NytkWidget::MetaData, nullptr, u"NyUser.Menus.MenuWidget"_str,
                                         NyCore::NoMethods, NyCore::NoEvents, nullptr, sizeof(MenuWidget), 0,
                                         nullptr};

MenuWidget::~MenuWidget()
{
    if (menu)
        menu->release();
}

void MenuWidget::onCreate()
{
    setStyleClass(0, false);
}

void MenuWidget::set$menu(Models::Menu* newMenu)
{
    if (newMenu)
        newMenu->addRef();
    if (menu)
        menu->release();
    menu = newMenu;
    layout();
}

int MenuWidget::elementAt(int at) const
{
    for (std::size_t i = 0; i + 1 < coordinates.size(); ++i)
        if (at >= coordinates[i] && at < coordinates[i + 1])
            return static_cast<int>(i);
    return -1;
}

int MenuWidget::get$coordinate(int i) const
{
    return i >= 0 && static_cast<std::size_t>(i) < coordinates.size() ? coordinates[static_cast<std::size_t>(i)] : 0;
}

void MenuWidget::layout()
{
    coordinates.assign(1, 0);
}

int MenuWidget::labelWidth(int i) const
{
    Models::MenuElement* element = menu ? menu->getElement(i) : nullptr;
    if (!element)
        return style->get$gap();
    return style->get$font()->measure(element->get$text());
}

void MenuWidget::notePointer()
{
    NyCore::System::WidgetPoint at;
    getMousePosition(&at);
    pointerMoved(at.x, at.y);
}

bool MenuWidget::pointerMoved(int px, int py)
{
    NyCore::System::WidgetRect rect;
    getScreenRect(&rect);
    NyCore::System::WidgetPoint at = {rect.x + px, rect.y + py};
    if (anyMove && at.x == lastMove.x && at.y == lastMove.y)
        return false;
    anyMove = true;
    lastMove = at;
    return true;
}

}
