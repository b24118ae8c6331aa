// The drop list: drawing, keys, wheel, and the pop-up list with its nested loop.
#include "nytoolkit/lists/drop_list.h"

#include <algorithm>

#include "nycore/graphics/font.h"
#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/forms/loader.h"
#include "nytoolkit/lists/simple_list.h"

namespace NyToolkit {

namespace WF = NyCore::System::WidgetFlags;
namespace Keys = NyCore::System::SystemKeys;

namespace {

NyCore::MethodEntry const DropListMethods[] = {{u"update", NY_METHOD(DropList::update)},
                                               {u"showPopUpMenu", NY_METHOD(DropList::showPopUpMenu)},
                                               {nullptr, nullptr}};
char16_t const* const DropListEvents[] = {u"change", nullptr};

constexpr int EnterCharacter = 10;
constexpr int EscapeCharacter = 27;
constexpr int TabCharacter = 9;

}

NyCore::TypeData DropList::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.DropList"_str, DropListMethods,
                                       DropListEvents, &DropList::__create, sizeof(DropList), 0, nullptr};

DropList::DropList() : contents(new ListContents()) {}

DropList::~DropList()
{
    if (destroyedFlag) {
        *destroyedFlag = true;
        NyCore::System::EventLoop::exit(popUpLoop, -1);
    }
    contents->release();
}

NyCore::Object* DropList::__create()
{
    return new DropList();
}

void DropList::onCreate()
{
    setStyleClass(Style::Display, false);
}

void DropList::setParameters(NyCore::XML::Element* element)
{
    if (xml_get_attribute(element, u"display"))
        set$display(Loader::intAttribute(element, u"display"));
    contents->append(element);
    redraw();
}

void DropList::onDraw(NyCore::Graphics::GC* gc)
{
    int gap = style->get$gap();
    int h = style->get$font()->get$height();
    int fill = Style::Background;
    if (flags & WF::HasFocus)
        fill = Style::Accent;
    else if (flags & WF::Disabled)
        fill = Style::Light;
    gc_set_background(gc, getColor(fill));
    gc_rect_fill(gc, 0, 0, width, height);
    gc_set_foreground(gc, getColor(Style::Frame));
    gc_rect_line(gc, 0, 0, width, height);

    IconSet* arrows = style->getIcons(Style::VArrow);
    int arrowX = width - gap - h / 3 - (arrows ? arrows->get$width() : 0);
    if (arrows)
        arrows->draw(gc, arrowX, (height - arrows->get$height()) / 2, 4 + arrowState);

    ListContents::Item const* item = contents->getItem(selected);
    if (!item)
        return;
    int x = gap + h / 3;
    if (IconSet* icons = contents->get$icons()) {
        if (item->icon >= 0 && item->icon < icons->get$count())
            icons->draw(gc, x, (height - icons->get$height()) / 2, item->icon);
        x += h / 3 + icons->get$width();
    }
    gc_set_font(gc, style->get$font());
    gc_set_foreground(gc, getColor(Style::Text));
    // The label stops short of the arrow so that a long one never runs under it.
    gc_string(gc, item->label, x, 0, std::max(arrowX - x, 0), height,
              NyCore::Graphics::TextFlags::CenterVertical | NyCore::Graphics::TextFlags::Clip);
}

void DropList::onMouseDown(int, int, int button, int)
{
    if (button == 0)
        showPopUpMenu();
}

void DropList::onMouseOver(int, int, int)
{
    if (!popUp)
        setArrowState(ArrowHover);
}

void DropList::onMouseOut(int, int, int)
{
    if (!popUp)
        setArrowState(ArrowNormal);
}

void DropList::onSystemKeyDown(int code, int)
{
    if (code != Keys::Up && code != Keys::Down)
        return;
    if (popUp)
        popUp->moveSelection(code == Keys::Down ? 1 : -1);
    else
        showPopUpMenu();
}

void DropList::onCharKeyDown(int code, int modifiers)
{
    if (!popUp)
        return;
    if (code == EnterCharacter) {
        closePopUp(popUp->get$selectedIndex());
    } else if (code == EscapeCharacter) {
        closePopUp(-1);
    } else if (code == TabCharacter) {
        // Tab dismisses the pop-up and then moves the focus on as it would have.
        closePopUp(-1);
        if (modifiers & NyCore::System::KeyModifiers::Shift)
            focusPrev();
        else
            focusNext();
    }
}

void DropList::onFocusGained()
{
    redraw();
}

void DropList::onFocusLost()
{
    if (popUp)
        closePopUp(-1);
    redraw();
}

void DropList::onEnable()
{
    redraw();
}

void DropList::onDisable()
{
    if (popUp)
        closePopUp(-1);
    redraw();
}

void DropList::onScrollWheel(int steps)
{
    if (popUp) {
        popUp->onScrollWheel(steps);
        return;
    }
    int count = contents->get$count();
    if (count == 0 || (flags & WF::Disabled))
        return;
    // The wheel stops at the first and the last item.
    int target = std::clamp(selected - steps, 0, count - 1);
    if (target != selected)
        set$selectedIndex(target);
}

void DropList::set$contents(ListContents* list)
{
    if (!list || list == contents)
        return;
    list->addRef();
    contents->release();
    contents = list;
    if (selected >= contents->get$count())
        selected = -1;
    redraw();
}

void DropList::set$display(int lines)
{
    display = std::max(lines, 2);
}

void DropList::set$selectedIndex(int i)
{
    selected = (i >= 0 && i < contents->get$count()) ? i : -1;
    redraw();
    NyCore::Object::CallbackParams params{1, {selected}};
    send(u"change", &params);
}

NyCore::Object* DropList::get$selectedData() const
{
    return contents->getData(selected);
}

NyCore::String const* DropList::get$selectedLabel() const
{
    return contents->getLabel(selected);
}

void DropList::update()
{
    if (selected >= 0)
        redraw();
}

int DropList::popUpHeight() const
{
    int lineHeight = style->get$font()->get$height() * 4 / 3;
    return std::min(contents->get$count(), display) * lineHeight + 2 * style->get$gap();
}

void DropList::showPopUpMenu()
{
    if (popUp || !window || (flags & WF::Disabled) || contents->get$count() == 0)
        return;
    setArrowState(ArrowOpen);
    focus();
    int gap = style->get$gap();
    int listHeight = popUpHeight();
    int top = height - gap;
    // Near the bottom of the screen the list opens above the box instead.
    NyCore::System::WidgetPoint corner = {0, top + listHeight};
    NyCore::System::WidgetPoint screen = {0, 0};
    toScreen(&corner);
    screenSize(&screen);
    if (corner.y > screen.y)
        top = gap - listHeight;
    auto* list = static_cast<SimpleList*>(NyCore::System::Widget::create(
        this, u"NyToolkit.SimpleList", WF::PopUp | WF::Hidden, 0, top, width, listHeight));
    popUp = list;
    list->set$style(style);
    list->set$lineHeight(style->get$font()->get$height() * 4 / 3);
    list->set$vvisible(contents->get$count() > display);
    list->set$contents(contents);
    list->set$selectedIndex(selected);
    list->set$vscroll(std::max(selected, 0));
    list->show();
    list->pointerCapture();
    hadWantTab = (flags & WF::WantTab) != 0;
    flags |= WF::WantTab;

    NyCore::System::Widget loopOwner;
    bool destroyed = false;
    popUpLoop = &loopOwner;
    destroyedFlag = &destroyed;
    list->set$loopOwner(&loopOwner);
    int result = NyCore::System::EventLoop::execute(&loopOwner);
    if (destroyed)
        return;
    popUpLoop = nullptr;
    destroyedFlag = nullptr;

    // The pop-up is gone already when its window was destroyed from outside.
    bool stillChild = false;
    if (NyCore::System::Widget* child = firstChild) {
        do {
            stillChild = stillChild || child == list;
            child = child->get$nextSibling();
        } while (child != firstChild);
    }
    if (stillChild) {
        list->pointerRelease();
        list->close();
    }
    popUp = nullptr;
    if (!hadWantTab)
        flags &= ~WF::WantTab;
    setArrowState((flags & WF::PointerInside) ? ArrowHover : ArrowNormal);
    if (result >= 0 && result < contents->get$count())
        set$selectedIndex(result);
}

void DropList::setArrowState(int state)
{
    if (state == arrowState)
        return;
    arrowState = state;
    redraw();
}

void DropList::closePopUp(int index)
{
    if (popUp)
        popUp->endPopUp(index);
}

}
