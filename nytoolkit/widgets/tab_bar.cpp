// The tab bar and its pages.
#include "nytoolkit/widgets/tab_bar.h"

#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/text/string_functions.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/forms/loader.h"

namespace NyToolkit {

namespace {

NyCore::MethodEntry const TabBarMethods[] = {{u"setActive", NY_METHOD(TabBar::setActive)},
                                             {u"removeTab", NY_METHOD(TabBar::removeTab)},
                                             {u"insertTab", NY_METHOD(TabBar::insertTab)},
                                             {nullptr, nullptr}};
char16_t const* const TabBarEvents[] = {u"changeActive", nullptr};

namespace WidgetFlags = NyCore::System::WidgetFlags;
namespace SystemKeys = NyCore::System::SystemKeys;
namespace KeyModifiers = NyCore::System::KeyModifiers;

// Space left and right of a tab's label, and the narrowest tab.
constexpr int TabPadding = 8;
constexpr int LeastTabWidth = 40;

}

NyCore::TypeData TabBar::MetaData = {&NytkWidget::MetaData, nullptr, u"NyToolkit.TabBar"_str, TabBarMethods,
                                     TabBarEvents, &TabBar::__create, sizeof(TabBar), 0, nullptr};

TabBar::~TabBar()
{
    for (Page& page : pages)
        string_free(page.label);
}

NyCore::Object* TabBar::__create()
{
    return new TabBar();
}

void TabBar::onCreate()
{
    NytkWidget::onCreate();
    flags |= WidgetFlags::TabStop | WidgetFlags::WantTab;
}

void TabBar::setParameters(NyCore::XML::Element* element)
{
    int wanted = Loader::intAttribute(element, u"active");
    NyCore::System::Widget* before = get$lastChild();
    Loader::parseChildren(this, element);
    // The new children follow `before` in the ring, in the order of their elements.
    NyCore::System::Widget* widget = before ? before->get$nextSibling() : get$firstChild();
    if (widget == get$firstChild() && before)
        widget = nullptr;
    for (NyCore::XML::Node* node = xml_first_child(element); node && widget; node = xml_next_sibling(node)) {
        if (xml_get_type(node) != NyCore::XML::ElementNode ||
            string_compare(xml_get_name(node), u"Link"_str) == 0)
            continue;
        auto* pageElement = static_cast<NyCore::XML::Element*>(node);
        pages.push_back({widget, string_copy(xml_get_attribute(pageElement, u"label"))});
        placePage(widget);
        if (widget->getType() == NyCore::asType(&NytkWidget::MetaData))
            Loader::parseChildren(static_cast<NytkWidget*>(widget), pageElement);
        widget = widget->get$nextSibling();
        if (widget == get$firstChild())
            break;
    }
    active = wanted >= 0 && wanted < get$count() ? wanted : 0;
    showActive();
    redraw();
}

NyCore::System::Widget* TabBar::getPage(int index) const
{
    return index >= 0 && index < get$count() ? pages[index].widget : nullptr;
}

NyCore::String const* TabBar::getLabel(int index) const
{
    if (index < 0 || index >= get$count() || !pages[index].label)
        return NyCore::Text::EmptyString;
    return pages[index].label;
}

int TabBar::get$tabHeight() const
{
    return style->get$font()->get$height() + 8;
}

void TabBar::getTabRect(int index, NyCore::System::WidgetRect* rect) const
{
    int x = 2;
    int w = 0;
    for (int i = 0; i <= index && i < get$count(); ++i) {
        x += w;
        w = style->get$font()->measure(getLabel(i)) + 2 * TabPadding;
        if (w < LeastTabWidth)
            w = LeastTabWidth;
    }
    *rect = {x, 0, w, get$tabHeight()};
}

int TabBar::tabAt(int px, int py) const
{
    if (py < 0 || py >= get$tabHeight())
        return -1;
    for (int i = 0; i < get$count(); ++i) {
        NyCore::System::WidgetRect r;
        getTabRect(i, &r);
        if (px >= r.x && px < r.x + r.width)
            return i;
    }
    return -1;
}

void TabBar::placePage(NyCore::System::Widget* page)
{
    int top = get$tabHeight();
    int w = width - 2 > 1 ? width - 2 : 1;
    int h = height - top - 1 > 1 ? height - top - 1 : 1;
    page->setRect(1, top, w, h);
}

void TabBar::showActive()
{
    for (int i = 0; i < get$count(); ++i) {
        NyCore::System::Widget* page = pages[i].widget;
        bool hidden = page->get$flags() & WidgetFlags::Hidden;
        if (i == active && hidden)
            page->show();
        else if (i != active && !hidden)
            page->hide();
    }
}

void TabBar::setActive(int index)
{
    if (index < 0 || index >= get$count() || index == active)
        return;
    active = index;
    showActive();
    redraw();
    NyCore::Object::CallbackParams params{1, {index}};
    send(u"changeActive", &params);
}

void TabBar::insertTab(int index, NyCore::System::Widget* page, NyCore::String const* label)
{
    if (!page)
        return;
    if (index < 0)
        index = 0;
    if (index > get$count())
        index = get$count();
    pages.insert(pages.begin() + index, Page{page, string_copy(label)});
    placePage(page);
    if (get$count() == 1)
        active = 0;
    else if (index <= active)
        ++active;
    showActive();
    redraw();
}

void TabBar::removeTab(int index)
{
    if (index < 0 || index >= get$count())
        return;
    NyCore::System::Widget* page = pages[index].widget;
    string_free(pages[index].label);
    pages.erase(pages.begin() + index);
    if (!(page->get$flags() & WidgetFlags::Hidden))
        page->hide();
    bool wasActive = index == active;
    if (index < active || active >= get$count())
        active = active > 0 ? active - 1 : 0;
    if (get$count() > 0) {
        showActive();
        if (wasActive) {
            NyCore::Object::CallbackParams params{1, {active}};
            send(u"changeActive", &params);
        }
    }
    redraw();
}

bool TabBar::onResize(int, int)
{
    for (Page& page : pages)
        placePage(page.widget);
    return true;
}

void TabBar::onStyleChange()
{
    onResize(0, 0);
    redraw();
}

void TabBar::onDraw(NyCore::Graphics::GC* gc)
{
    namespace TF = NyCore::Graphics::TextFlags;
    int top = get$tabHeight();
    std::uint32_t frame = getColor(Style::Frame);
    gc_set_background(gc, background);
    gc_rect_fill(gc, 0, 0, width, height);
    // The page's frame; the active tab opens it where it stands.
    gc_set_foreground(gc, frame);
    gc_rect_line(gc, 0, top - 1, width, height - top + 1);
    gc_set_font(gc, style->get$font());
    for (int i = 0; i < get$count(); ++i) {
        NyCore::System::WidgetRect r;
        getTabRect(i, &r);
        bool isActive = i == active;
        int y = isActive ? 0 : 2;
        int h = isActive ? top : top - 3;
        if (!isActive) {
            gc_set_background(gc, getColor(Style::Light));
            gc_rect_fill(gc, r.x, y, r.width, h);
        }
        gc_set_foreground(gc, frame);
        gc_line(gc, r.x, y + h, r.x, y);
        gc_line(gc, r.x, y, r.x + r.width - 1, y);
        gc_line(gc, r.x + r.width - 1, y, r.x + r.width - 1, y + h);
        if (isActive) {
            gc_set_foreground(gc, background);
            gc_line(gc, r.x + 1, top - 1, r.x + r.width - 2, top - 1);
        }
        gc_set_foreground(gc, getColor(flags & WidgetFlags::Disabled ? Style::Dim : Style::Text));
        gc_string(gc, getLabel(i), r.x, y + 1, r.width, h - 1, TF::CenterHorizontal | TF::CenterVertical | TF::Clip);
        if (isActive && (flags & WidgetFlags::HasFocus)) {
            gc_set_foreground(gc, getColor(Style::HighlightFrame));
            gc_rect_line(gc, r.x + 3, 3, r.width - 6, top - 6);
        }
    }
}

void TabBar::onMouseDown(int px, int py, int button, int)
{
    if (button != 0)
        return;
    int index = tabAt(px, py);
    if (index < 0)
        return;
    focus();
    setActive(index);
}

void TabBar::onDoubleClick(int px, int py, int button, int keys)
{
    onMouseDown(px, py, button, keys);
}

void TabBar::onSystemKeyDown(int code, int)
{
    if (get$count() == 0)
        return;
    if (code == SystemKeys::Left && active > 0)
        setActive(active - 1);
    else if (code == SystemKeys::Right && active + 1 < get$count())
        setActive(active + 1);
}

void TabBar::onCharKeyDown(int code, int modifiers)
{
    if (code != 9)
        return;
    bool backwards = modifiers & KeyModifiers::Shift;
    if (!(modifiers & KeyModifiers::Ctrl)) {
        // A plain Tab keeps moving the focus.
        if (backwards)
            focusPrev();
        else
            focusNext();
        return;
    }
    int n = get$count();
    if (n > 1)
        setActive((active + (backwards ? n - 1 : 1)) % n);
}

void TabBar::onFocusGained()
{
    redraw();
}

void TabBar::onFocusLost()
{
    redraw();
}

}
