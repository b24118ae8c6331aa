// The pop-up menu: its rows, drawing, the pointer across a chain of
// cascades, and the keyboard operations the bar calls.
#include "nyuser/menus/pop_up_menu.h"

#include <algorithm>
#include <cstdlib>

#include "nycore/graphics/color.h"
#include "nycore/graphics/font.h"
#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nyuser/menus/menu_bar.h"

namespace NyUser::Menus {

namespace WF = NyCore::System::WidgetFlags;
using NyToolkit::Style;

namespace {

// Icons of the style's horizontal-arrow set for a row with a sub-menu.
constexpr int ArrowIcon = 4;
constexpr int ArrowIconLit = 6;

bool isPopUpMenu(NyCore::Object const* object)
{
    return object && object->getType()->isOfType(NyCore::asType(&PopUpMenu::MetaData));
}

bool isMenuBar(NyCore::Object const* object)
{
    return object && object->getType()->isOfType(NyCore::asType(&MenuBar::MetaData));
}

bool contains(NyCore::System::Widget* widget, NyCore::System::WidgetPoint screen, NyCore::System::WidgetPoint* local)
{
    NyCore::System::WidgetRect rect;
    widget->getScreenRect(&rect);
    *local = {screen.x - rect.x, screen.y - rect.y};
    return local->x >= 0 && local->x < rect.width && local->y >= 0 && local->y < rect.height;
}

}

NyCore::TypeData PopUpMenu::MetaData = {&MenuWidget::MetaData, nullptr, u"NyUser.Menus.PopUpMenu"_str,
                                        NyCore::NoMethods, NyCore::NoEvents, &PopUpMenu::__create,
                                        sizeof(PopUpMenu), 0, nullptr};

NyCore::Object* PopUpMenu::__create()
{
    return new PopUpMenu();
}

PopUpMenu* PopUpMenu::open(NyCore::System::Widget* parent, MenuWidget* opener, Models::Menu* menu,
                           NyToolkit::Style* style, int x, int y)
{
    auto* popUp = static_cast<PopUpMenu*>(
        NyCore::System::Widget::create(parent, u"NyUser.Menus.PopUpMenu", WF::PopUp | WF::Hidden, x, y, 1, 1));
    popUp->opener = opener;
    popUp->set$style(style);
    popUp->set$menu(menu);
    popUp->keepOnScreen(isPopUpMenu(opener));
    popUp->show();
    popUp->pointerCapture();
    popUp->notePointer();
    return popUp;
}

int PopUpMenu::get$margin() const
{
    return style->get$font()->get$height() / 5;
}

int PopUpMenu::get$rowHeight() const
{
    int row = style->get$font()->get$height() * 4 / 3;
    if (NyToolkit::IconSet* icons = menu ? menu->get$icons() : nullptr)
        row = std::max(row, icons->get$height() * 4 / 3);
    return row;
}

int PopUpMenu::get$shortcutRight() const
{
    int m = get$margin();
    NyToolkit::IconSet* arrows = style->getIcons(Style::HArrow);
    return width - 4 * m - (hasSubMenus ? 2 * m + (arrows ? arrows->get$width() : 0) : 0);
}

void PopUpMenu::onStyleChange()
{
    background = style->getColor(Style::Background);
    layout();
    redraw();
}

void PopUpMenu::layout()
{
    int m = get$margin();
    int row = get$rowHeight();
    int count = menu ? menu->get$count() : 0;
    NyCore::Graphics::Font* font = style->get$font();
    coordinates.assign(1, m);
    int widestLabel = 0;
    int widestShortcut = 0;
    hasSubMenus = false;
    for (int i = 0; i < count; ++i) {
        Models::MenuElement* element = menu->getElement(i);
        coordinates.push_back(coordinates.back() + (element ? row : style->get$gap() + 2 * m));
        if (!element)
            continue;
        widestLabel = std::max(widestLabel, labelWidth(i));
        hasSubMenus = hasSubMenus || element->get$isSubMenu();
        if (element->getType()->isOfType(NyCore::asType(&Models::MenuItem::MetaData)))
            if (NyCore::String const* shortcut = static_cast<Models::MenuItem*>(element)->get$shortcut())
                widestShortcut = std::max(widestShortcut, font->measure(shortcut));
    }
    NyToolkit::IconSet* icons = menu ? menu->get$icons() : nullptr;
    int w = widestLabel + (icons ? 10 * m + icons->get$width() : 6 * m);
    if (hasSubMenus) {
        NyToolkit::IconSet* arrows = style->getIcons(Style::HArrow);
        w += 2 * m + (arrows ? arrows->get$width() : 0);
    }
    // A shortcut keeps a clear space of its own from the longest label.
    if (widestShortcut > 0)
        w += widestShortcut + 2 * font->get$height();
    setSize(w, coordinates.back() + m);
}

void PopUpMenu::onDraw(NyCore::Graphics::GC* gc)
{
    int m = get$margin();
    NyToolkit::IconSet* icons = menu ? menu->get$icons() : nullptr;
    NyToolkit::IconSet* arrows = style->getIcons(Style::HArrow);
    int iconColumn = icons ? icons->get$width() + 4 * m : 0;
    if (icons) {
        gc_set_background(gc, NyCore::Graphics::Color::scale(getColor(Style::Background), 90));
        gc_rect_fill(gc, 0, 0, iconColumn, height);
    }
    gc_set_font(gc, style->get$font());
    int count = menu ? menu->get$count() : 0;
    for (int i = 0; i < count; ++i) {
        int top = coordinates[static_cast<std::size_t>(i)];
        int rowHeight = coordinates[static_cast<std::size_t>(i) + 1] - top;
        Models::MenuElement* element = menu->getElement(i);
        if (!element) {
            gc_set_foreground(gc, getColor(Style::Separator));
            gc_line(gc, m + iconColumn, top + m, width - 2 * m, top + m);
            continue;
        }
        bool lit = i == highlighted;
        if (lit) {
            gc_set_background(gc, getColor(Style::HighlightBackground));
            gc_rect_fill(gc, 1, top, width - 2, rowHeight);
            gc_set_foreground(gc, getColor(Style::HighlightFrame));
            gc_rect_line(gc, 1, top, width - 2, rowHeight);
        }
        if (icons && element->get$icon() >= 0)
            icons->draw(gc, 2 * m, top + (rowHeight - icons->get$height()) / 2, element->get$icon());
        if (element->get$isSubMenu() && arrows)
            arrows->draw(gc, width - 2 * m - arrows->get$width(), top + (rowHeight - arrows->get$height()) / 2,
                         lit ? ArrowIconLit : ArrowIcon);
        gc_set_foreground(gc, getColor(lit ? Style::HighlightText : Style::Text));
        int labelX = iconColumn + 2 * m;
        gc_string(gc, element->get$text(), labelX, top, std::max(width - labelX, 0), rowHeight,
                  NyCore::Graphics::TextFlags::CenterVertical);
        if (element->getType()->isOfType(NyCore::asType(&Models::MenuItem::MetaData)))
            if (NyCore::String const* shortcut = static_cast<Models::MenuItem*>(element)->get$shortcut())
                gc_string(gc, shortcut, labelX, top, std::max(get$shortcutRight() - labelX, 0), rowHeight,
                          NyCore::Graphics::TextFlags::CenterVertical | NyCore::Graphics::TextFlags::AlignRight);
    }
    gc_set_foreground(gc, getColor(Style::Frame));
    gc_rect_line(gc, 0, 0, width, height);
}

PopUpMenu* PopUpMenu::parentPopUp() const
{
    return isPopUpMenu(opener) ? static_cast<PopUpMenu*>(opener) : nullptr;
}

PopUpMenu* PopUpMenu::topPopUp()
{
    PopUpMenu* top = this;
    while (PopUpMenu* up = top->parentPopUp())
        top = up;
    return top;
}

MenuBar* PopUpMenu::bar() const
{
    PopUpMenu const* top = this;
    while (PopUpMenu* up = top->parentPopUp())
        top = up;
    return isMenuBar(top->opener) ? static_cast<MenuBar*>(top->opener) : nullptr;
}

void PopUpMenu::keepOnScreen(bool besideOpener)
{
    NyCore::System::WidgetPoint screen;
    screenSize(&screen);
    NyCore::System::WidgetRect rect;
    getScreenRect(&rect);
    int newX = x;
    int newY = y;
    if (rect.x + width > screen.x) {
        // A cascade that finds no room on the right opens on the left of its opener.
        if (besideOpener && parent)
            newX = get$margin() - style->get$gap() - width;
        else
            newX -= rect.x + width - screen.x;
    }
    if (rect.y + height > screen.y)
        newY -= std::min(rect.y + height - screen.y, rect.y);
    if (newX != x || newY != y)
        setPosition(newX, newY);
}

void PopUpMenu::setHighlight(int i)
{
    if (!menu || !menu->getElement(i))
        i = -1;
    if (i == highlighted)
        return;
    highlighted = i;
    redraw();
}

void PopUpMenu::moveHighlight(int step)
{
    int count = menu ? menu->get$count() : 0;
    int at = highlighted >= 0 ? highlighted : (step > 0 ? -1 : count);
    for (int tries = 0; tries < count; ++tries) {
        at = ((at + step) % count + count) % count;
        if (menu->getElement(at)) {
            setHighlight(at);
            return;
        }
    }
}

void PopUpMenu::chooseHighlighted()
{
    if (highlighted < 0)
        return;
    if (menu->getSubMenu(highlighted))
        openCascade(highlighted, true);
    else if (!menu->getElement(highlighted)->get$isSubMenu())
        choose(highlighted);
}

void PopUpMenu::openCascade(int i, bool lightFirst)
{
    closeCascade();
    Models::Menu* child = menu ? menu->getSubMenu(i) : nullptr;
    if (!child)
        return;
    setHighlight(i);
    int m = get$margin();
    cascadeIndex = i;
    getMousePosition(&cascadeOpenedAt);
    // The grab passes to the cascade.
    flags &= ~WF::PointerCaptured;
    cascade = open(this, this, child, style, width + style->get$gap() - m, coordinates[static_cast<std::size_t>(i)] - m);
    if (lightFirst)
        cascade->moveHighlight(1);
}

void PopUpMenu::closeCascade()
{
    if (!cascade)
        return;
    cascade->dismiss();
    cascade = nullptr;
    cascadeIndex = -1;
    if (!closing) {
        pointerCapture();
        notePointer();
    }
}

void PopUpMenu::dismiss()
{
    closing = true;
    closeCascade();
    flags &= ~WF::PointerCaptured;
    // Hidden at once: the window itself goes once the current message is done.
    hide();
    close();
}

void PopUpMenu::closeChain()
{
    if (MenuBar* owner = bar()) {
        owner->deactivate();
        return;
    }
    // The grab ends first: outside any event loop the windows (this one too) go at once.
    pointerRelease();
    topPopUp()->dismiss();
}

void PopUpMenu::closeSubMenu()
{
    if (closing)
        return;
    NyCore::System::WidgetPoint at;
    getMousePosition(&at);
    if (at.x >= 0 && at.x < width && at.y >= 0 && at.y < height)
        return;
    if (PopUpMenu* up = parentPopUp())
        up->closeCascade();
    else if (MenuBar* owner = bar())
        owner->closePopUp();
    else
        closeChain();
}

void PopUpMenu::choose(int i)
{
    Models::Menu* source = menu;
    if (MenuBar* owner = bar()) {
        owner->choose(source, i);
        return;
    }
    closeChain();
    if (source->setCallbackIndex(i) == i)
        NyCore::System::EventLoop::postCall(source, NY_METHOD(Models::Menu::delayedCallback));
}

bool PopUpMenu::keepsCascade(int px, int py) const
{
    if (!cascade)
        return false;
    int dx = px - cascadeOpenedAt.x;
    int dy = py - cascadeOpenedAt.y;
    int h = style->get$font()->get$height();
    bool straightUpOrDown = std::abs(dy) > h && 2 * std::abs(dx) < std::abs(dy);
    return dx >= 0 && py >= coordinates[static_cast<std::size_t>(cascadeIndex)] && !straightUpOrDown;
}

void PopUpMenu::pointerMovedInside(int px, int py)
{
    if (keepsCascade(px, py))
        return;
    int row = elementAt(py);
    if (!menu || !menu->getElement(row))
        row = -1;
    if (row == highlighted && (row < 0 || row == cascadeIndex || !menu->getSubMenu(row)))
        return;
    if (cascade)
        closeCascade();
    setHighlight(row);
    if (row >= 0 && menu->getSubMenu(row))
        openCascade(row, false);
}

void PopUpMenu::onMouseMove(int px, int py, int)
{
    if (!closing && pointerMoved(px, py))
        followPointer(px, py);
}

void PopUpMenu::followPointer(int px, int py)
{
    if (closing)
        return;
    if (px >= 0 && px < width && py >= 0 && py < height) {
        pointerMovedInside(px, py);
        return;
    }
    // Off every row: the highlight goes, unless it leads to the open cascade.
    if (!cascade)
        setHighlight(-1);
    if (opener && opener->get$nativeWindow()) {
        NyCore::System::WidgetRect mine, theirs;
        getScreenRect(&mine);
        opener->getScreenRect(&theirs);
        int ox = px + mine.x - theirs.x;
        int oy = py + mine.y - theirs.y;
        if (PopUpMenu* up = parentPopUp())
            up->followPointer(ox, oy);
        else if (MenuBar* owner = bar())
            owner->followPointer(ox, oy);
        else
            opener->onMouseMove(ox, oy, 0);
    }
}

void PopUpMenu::onMouseDown(int px, int py, int, int)
{
    if (closing)
        return;
    NyCore::System::WidgetPoint screen, local;
    // The deepest pop-up holds the grab; the press belongs to the topmost member of the chain it hits.
    if (PopUpMenu* member = chainMemberAt(px, py, &screen, &local)) {
        member->pressedAt(local.x, local.y);
        return;
    }
    MenuBar* owner = bar();
    if (owner && contains(owner, screen, &local))
        owner->pressedAt(local.x, local.y);
    else
        closeChain();
}

void PopUpMenu::onMouseUp(int px, int py, int button, int)
{
    MenuBar* owner = bar();
    if (closing || button != 0 || !owner || !owner->endDrag())
        return;
    // Pressed on the bar and dragged here: the entry under the release runs.
    NyCore::System::WidgetPoint screen, local;
    if (PopUpMenu* member = chainMemberAt(px, py, &screen, &local)) {
        int row = member->elementAt(local.y);
        Models::MenuElement* element = member->menu ? member->menu->getElement(row) : nullptr;
        if (element && !element->get$isSubMenu())
            member->choose(row);
    }
}

PopUpMenu* PopUpMenu::chainMemberAt(int px, int py, NyCore::System::WidgetPoint* screen,
                                    NyCore::System::WidgetPoint* local)
{
    NyCore::System::WidgetRect mine;
    getScreenRect(&mine);
    *screen = {px + mine.x, py + mine.y};
    for (PopUpMenu* member = this; member; member = member->parentPopUp()) {
        if (contains(member, *screen, local))
            return member;
    }
    return nullptr;
}

void PopUpMenu::onDoubleClick(int px, int py, int button, int keys)
{
    onMouseDown(px, py, button, keys);
}

void PopUpMenu::pressedAt(int, int py)
{
    int row = elementAt(py);
    Models::MenuElement* element = menu ? menu->getElement(row) : nullptr;
    if (element && element->get$isSubMenu()) {
        // A row with a cascade opens it; the chain stays.
        if (cascadeIndex != row)
            openCascade(row, false);
        return;
    }
    if (element)
        choose(row);
    else
        closeChain();
}

}
