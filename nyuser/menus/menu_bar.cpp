// The menu bar: its cells, drawing, the pointer, and the keys of its window
// while its menus are in use.
#include "nyuser/menus/menu_bar.h"

#include <algorithm>

#include "nycore/graphics/color.h"
#include "nycore/graphics/font.h"
#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nyuser/menus/pop_up_menu.h"

namespace NyUser::Menus {

namespace WF = NyCore::System::WidgetFlags;
namespace Keys = NyCore::System::SystemKeys;
namespace Modifiers = NyCore::System::KeyModifiers;
using NyToolkit::Style;

namespace {

NyCore::MethodEntry const MenuBarMethods[] = {{u"refresh", NY_METHOD(MenuBar::refresh)}, {nullptr, nullptr}};

constexpr int F10 = Keys::F1 - 9;
constexpr int EnterCharacter = 10;
constexpr int EscapeCharacter = 27;

NyCore::System::Widget* windowOf(NyCore::System::Widget* widget)
{
    while (widget->get$parent() && !(widget->get$flags() & WF::TopLevel))
        widget = widget->get$parent();
    return widget;
}

}

NyCore::TypeData MenuBar::MetaData = {&MenuWidget::MetaData, nullptr, u"NyUser.Menus.MenuBar"_str, MenuBarMethods,
                                      NyCore::NoEvents, &MenuBar::__create, sizeof(MenuBar), 0, nullptr};

NyCore::Object* MenuBar::__create()
{
    return new MenuBar();
}

void MenuBar::onCreate()
{
    MenuWidget::onCreate();
    NyCore::System::Widget::watchKeys(this, &MenuBar::watchKey);
}

void MenuBar::set$menu(Models::Menu* newMenu)
{
    deactivate();
    MenuWidget::set$menu(newMenu);
    redraw();
}

void MenuBar::refresh()
{
    deactivate();
    layout();
    redraw();
}

void MenuBar::onStyleChange()
{
    background = style->getColor(Style::Background);
    refresh();
}

void MenuBar::layout()
{
    int h = style->get$font()->get$height();
    int count = menu ? menu->get$count() : 0;
    coordinates.assign(1, 0);
    for (int i = 0; i < count; ++i)
        coordinates.push_back(coordinates.back() + 3 * h / 4 + labelWidth(i));
}

void MenuBar::drawEntry(NyCore::Graphics::GC* gc, int i)
{
    int left = coordinates[static_cast<std::size_t>(i)];
    int cell = coordinates[static_cast<std::size_t>(i) + 1] - left;
    Models::MenuElement* element = menu->getElement(i);
    if (!element) {
        int h = style->get$font()->get$height();
        gc_set_foreground(gc, NyCore::Graphics::Color::scale(getColor(Style::Background), 75));
        gc_line(gc, left + cell / 2, (height - h) / 2, left + cell / 2, (height - h) / 2 + h - 1);
        return;
    }
    int text = Style::Text;
    if (i == openIndex) {
        gc_set_background(gc, getColor(Style::HighlightBackground));
        gc_rect_fill(gc, left, 0, cell, height);
        gc_set_foreground(gc, getColor(Style::HighlightFrame));
        gc_rect_line(gc, left, 0, cell, height);
        text = Style::HighlightText;
    } else if (i == hover && openIndex < 0) {
        gc_set_background(gc, NyCore::Graphics::Color::scale(getColor(Style::HighlightBackground), 160));
        gc_rect_fill(gc, left, 0, cell, height);
        gc_set_foreground(gc, getColor(Style::HighlightBackground));
        gc_rect_line(gc, left, 0, cell, height);
    }
    gc_set_foreground(gc, getColor(text));
    gc_string(gc, element->get$text(), left, 0, cell, height,
              NyCore::Graphics::TextFlags::CenterHorizontal | NyCore::Graphics::TextFlags::CenterVertical);
}

void MenuBar::onDraw(NyCore::Graphics::GC* gc)
{
    gc_set_font(gc, style->get$font());
    int count = std::min(menu ? menu->get$count() : 0, static_cast<int>(coordinates.size()) - 1);
    for (int i = 0; i < count; ++i)
        drawEntry(gc, i);
}

void MenuBar::setHover(int i)
{
    if (i == hover)
        return;
    hover = i;
    redraw();
}

int MenuBar::nextEntry(int from, int step) const
{
    int count = menu ? menu->get$count() : 0;
    int at = from >= 0 ? from : (step > 0 ? -1 : count);
    for (int tries = 0; tries < count; ++tries) {
        at = ((at + step) % count + count) % count;
        if (menu->getElement(at))
            return at;
    }
    return -1;
}

void MenuBar::openPopUp(int i, bool lightFirst)
{
    Models::Menu* child = menu ? menu->getSubMenu(i) : nullptr;
    if (!child)
        return;
    if (popUp) {
        popUp->dismiss();
        popUp = nullptr;
    }
    // Without the focus in this window the keys would go elsewhere: the bar takes it.
    NyCore::System::Widget* focused = NyCore::System::Widget::get$focused();
    if (!focused || windowOf(focused) != windowOf(this))
        focus();
    active = true;
    openIndex = i;
    hover = i;
    flags &= ~WF::PointerCaptured;
    popUp = PopUpMenu::open(this, this, child, style, coordinates[static_cast<std::size_t>(i)],
                            height - style->get$gap());
    if (lightFirst)
        popUp->moveHighlight(1);
    redraw();
}

void MenuBar::closePopUp()
{
    if (popUp) {
        popUp->dismiss();
        popUp = nullptr;
    }
    openIndex = -1;
    redraw();
    if (active) {
        pointerCapture();
        notePointer();
    } else {
        pointerRelease();
    }
}

void MenuBar::activate()
{
    int first = nextEntry(-1, 1);
    if (first < 0)
        return;
    NyCore::System::Widget* focused = NyCore::System::Widget::get$focused();
    if (!focused || windowOf(focused) != windowOf(this))
        focus();
    active = true;
    setHover(first);
    // The bar takes the pointer too, so that a press anywhere else ends the menus.
    pointerCapture();
    notePointer();
}

void MenuBar::deactivate()
{
    bool wasOpen = active || popUp;
    active = false;
    if (popUp) {
        popUp->dismiss();
        popUp = nullptr;
    }
    openIndex = -1;
    if (!wasOpen)
        return;
    pointerRelease();
    NyCore::System::WidgetPoint at;
    getMousePosition(&at);
    hover = at.y >= 0 && at.y < height && at.x >= 0 ? elementAt(at.x) : -1;
    redraw();
}

void MenuBar::choose(Models::Menu* source, int i)
{
    deactivate();
    // The handler runs from the event loop, after the pop-ups are gone; a
    // second choice before then keeps the first.
    if (source && source->setCallbackIndex(i) == i)
        NyCore::System::EventLoop::postCall(source, NY_METHOD(Models::Menu::delayedCallback));
}

void MenuBar::pressedAt(int px, int py)
{
    int entry = py >= 0 && py < height ? elementAt(px) : -1;
    Models::MenuElement* element = menu ? menu->getElement(entry) : nullptr;
    if (!element || entry == openIndex) {
        deactivate();
        return;
    }
    if (element->get$isSubMenu()) {
        openPopUp(entry, false);
        draggedFromBar = popUp != nullptr;
    } else {
        choose(menu, entry);
    }
}

void MenuBar::onMouseDown(int px, int py, int button, int)
{
    if (button == 0 || active)
        pressedAt(px, py);
}

void MenuBar::onMouseUp(int, int, int button, int)
{
    if (button == 0)
        draggedFromBar = false;
}

bool MenuBar::endDrag()
{
    bool dragged = draggedFromBar;
    draggedFromBar = false;
    return dragged;
}

void MenuBar::onDoubleClick(int px, int py, int button, int keys)
{
    onMouseDown(px, py, button, keys);
}

void MenuBar::onMouseMove(int px, int py, int)
{
    if (pointerMoved(px, py))
        followPointer(px, py);
}

void MenuBar::followPointer(int px, int py)
{
    int entry = px >= 0 && px < width && py >= 0 && py < height ? elementAt(px) : -1;
    if (entry >= 0 && !menu->getElement(entry))
        entry = -1;
    if (popUp) {
        // An open menu follows the pointer along the bar.
        if (entry >= 0 && entry != openIndex && menu->getSubMenu(entry))
            openPopUp(entry, false);
        return;
    }
    // While the keyboard uses the bar, the lit entry stays when the pointer leaves it.
    if (entry >= 0 || !active)
        setHover(entry);
}

void MenuBar::onMouseOut(int, int, int)
{
    if (!active && !popUp)
        setHover(-1);
}

void MenuBar::moveToNeighbour(int step)
{
    int next = nextEntry(hover, step);
    if (next < 0)
        return;
    if (popUp && menu->getSubMenu(next)) {
        openPopUp(next, true);
        return;
    }
    if (popUp)
        closePopUp();
    setHover(next);
}

bool MenuBar::menuKey(int code, int)
{
    PopUpMenu* deepest = popUp;
    while (deepest && deepest->get$cascade())
        deepest = deepest->get$cascade();
    if (!deepest) {
        if (code == Keys::Left || code == Keys::Right) {
            moveToNeighbour(code == Keys::Left ? -1 : 1);
        } else if (code == Keys::Down || code == EnterCharacter) {
            Models::MenuElement* element = menu ? menu->getElement(hover) : nullptr;
            if (element && element->get$isSubMenu())
                openPopUp(hover, true);
            else if (element)
                choose(menu, hover);
        } else if (code == EscapeCharacter) {
            deactivate();
        }
        return true;
    }
    PopUpMenu* above = deepest->get$opener() == this ? nullptr : static_cast<PopUpMenu*>(deepest->get$opener());
    int lit = deepest->get$highlighted();
    if (code == Keys::Up || code == Keys::Down) {
        deepest->moveHighlight(code == Keys::Down ? 1 : -1);
    } else if (code == Keys::Right) {
        if (deepest->get$menu()->getSubMenu(lit))
            deepest->openCascade(lit, true);
        else
            moveToNeighbour(1);
    } else if (code == Keys::Left) {
        if (above)
            above->closeCascade();
        else
            moveToNeighbour(-1);
    } else if (code == EnterCharacter) {
        deepest->chooseHighlighted();
    } else if (code == EscapeCharacter) {
        if (above)
            above->closeCascade();
        else
            closePopUp();
    }
    return true;
}

bool MenuBar::keyEvent(int code, int modifiers)
{
    bool down = modifiers & Modifiers::Down;
    if (!down) {
        if (code == Keys::Alt && altAlone) {
            altAlone = false;
            if (active)
                deactivate();
            else
                activate();
            return true;
        }
        auto taken = std::find(takenKeys.begin(), takenKeys.end(), code);
        if (taken == takenKeys.end())
            return false;
        takenKeys.erase(taken);
        return true;
    }
    if (code == Keys::Alt) {
        // A held Alt repeats; only another key makes it part of a combination.
        if (modifiers & Modifiers::FirstPress)
            altAlone = true;
        return false;
    }
    altAlone = false;
    bool take;
    if (code == F10 && !(modifiers & (Modifiers::Shift | Modifiers::Ctrl))) {
        if (active)
            deactivate();
        else
            activate();
        take = true;
    } else {
        take = active && menuKey(code, modifiers);
    }
    if (take && std::find(takenKeys.begin(), takenKeys.end(), code) == takenKeys.end())
        takenKeys.push_back(code);
    return take;
}

bool MenuBar::watchKey(NyCore::System::Widget* watcher, int code, int modifiers)
{
    return static_cast<MenuBar*>(watcher)->keyEvent(code, modifiers);
}

}
