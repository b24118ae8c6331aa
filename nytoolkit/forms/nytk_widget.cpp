// The toolkit widget base: style ownership and the ancestor search.
#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit {

NyCore::TypeData NytkWidget::MetaData = {&NyCore::System::Widget::MetaData, nullptr, u"NyToolkit.NytkWidget"_str,
                                         NyCore::NoMethods, NyCore::NoEvents, &NytkWidget::__create,
                                         sizeof(NytkWidget), 0, nullptr};

NytkWidget::NytkWidget() : style(Style::getDefaultStyle(Style::Control))
{
    style->addRef();
}

NytkWidget::~NytkWidget()
{
    style->release();
}

NyCore::Object* NytkWidget::__create()
{
    return new NytkWidget();
}

void NytkWidget::onCreate()
{
    setStyleClass(0, true);
}

void NytkWidget::setParameters(NyCore::XML::Element*) {}

void NytkWidget::onStyleChange() {}

void NytkWidget::setStyleClass(int styleClass, bool inheritBackground)
{
    if (styleClass != 0) {
        Style* chosen = Style::getDefaultStyle(styleClass);
        chosen->addRef();
        style->release();
        style = chosen;
    }
    if (inheritBackground && parent)
        background = parent->get$background();
    else
        background = style->getColor(Style::Background);
}

void NytkWidget::set$style(Style* newStyle)
{
    if (!newStyle)
        return;
    newStyle->addRef();
    style->release();
    style = newStyle;
    onStyleChange();
}

void NytkWidget::makeStylePrivate()
{
    if (style->get$referenceCount() > 1) {
        Style* copy = style->duplicate();
        style->release();
        style = copy;
    }
}

void NytkWidget::set$font(NyCore::Graphics::Font* font)
{
    makeStylePrivate();
    style->set$font(font);
    onStyleChange();
}

void NytkWidget::setColor(int slot, std::uint32_t rgb)
{
    makeStylePrivate();
    style->setColor(slot, rgb);
    onStyleChange();
}

NyCore::System::Widget* NytkWidget::getAncestor(NyCore::String const* typeName)
{
    for (NyCore::System::Widget* w = this; w; w = w->get$parent()) {
        if (w->getType()->isOfType(typeName))
            return w;
        if (w->get$flags() & NyCore::System::WidgetFlags::TopLevel)
            break;
    }
    return nullptr;
}

}
