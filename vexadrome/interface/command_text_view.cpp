// The command document's view: a text area in the shared fixed-width font.
#include "vexadrome/interface/command_text_view.h"

#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nytoolkit/text/text_area.h"
#include "nyuser/commondialogs/msg_window.h"

namespace Vexadrome::Interface {

namespace {

NyCore::MethodEntry const CommandTextViewMethods[] = {
    {u"set$commandString", NY_METHOD(CommandTextView::set$commandString)},
    {u"setSelection", NY_METHOD(CommandTextView::setSelection)},
    {nullptr, nullptr},
};

// One font for every command text view: created with the first view's
// window, released by the last view (the text areas' styles hold their own
// references until they go too).
NyCore::Graphics::Font* sharedFont = nullptr;
int liveViews = 0;

}

NyCore::TypeData CommandTextView::MetaData = {&NyToolkit::NytkWidget::MetaData, nullptr,
                                              u"Vexadrome.Interface.CommandTextView"_str, CommandTextViewMethods,
                                              NyCore::NoEvents, &CommandTextView::__create,
                                              sizeof(CommandTextView), 0, nullptr};

NyCore::String const* const CommandTextView::FontFace = u"courier new"_str;

CommandTextView::CommandTextView()
{
    ++liveViews;
}

CommandTextView::~CommandTextView()
{
    if (--liveViews == 0 && sharedFont) {
        sharedFont->release();
        sharedFont = nullptr;
    }
}

NyCore::Object* CommandTextView::__create()
{
    return new CommandTextView();
}

NyCore::Graphics::Font* CommandTextView::get$sharedFont()
{
    return sharedFont;
}

int CommandTextView::get$liveViews()
{
    return liveViews;
}

void CommandTextView::onCreate()
{
    NytkWidget::onCreate();
    setStyleClass(NyToolkit::Style::Control, false);
    // The font needs the display, so the first view's window makes it.
    if (sharedFont == nullptr)
        sharedFont = NyCore::Graphics::Font::create(FontFace, FontSize, 0);
    std::uint32_t const fill = NyCore::System::WidgetFlags::AnchorWidth | NyCore::System::WidgetFlags::AnchorHeight;
    textArea = static_cast<NyToolkit::TextArea*>(
        NyCore::System::Widget::create(this, u"NyToolkit.TextArea", fill, 0, 0, width, height));
    textArea->set$font(sharedFont);
    textArea->set$borderVisible(false);
    textArea->set$textFlags(textArea->get$textFlags() | NyToolkit::TextKernel::WantNewLine);
}

bool CommandTextView::suggestClose()
{
    close();
    return true;
}

void CommandTextView::onFocusGained()
{
    NytkWidget::onFocusGained();
    if (textArea && holdsServerFocus())
        textArea->focus();
}

NyCore::System::Widget* CommandTextView::focusTarget()
{
    return textArea ? static_cast<NyCore::System::Widget*>(textArea) : this;
}

void CommandTextView::set$commandString(NyCore::String const* text)
{
    if (textArea)
        textArea->setText(text);
}

NyCore::String const* CommandTextView::get$commandString() const
{
    NyCore::String const* text = textArea ? textArea->get$text() : nullptr;
    return text ? text : NyCore::Text::EmptyString;
}

NyCore::String const* CommandTextView::get$text() const
{
    return get$commandString();
}

void CommandTextView::set$text(NyCore::String const* text)
{
    set$commandString(text);
}

void CommandTextView::setSelection(int start, int length)
{
    if (textArea)
        textArea->setSelection(start, length);
}

void CommandTextView::showMessage(NyCore::String const* caption, NyCore::String const* text, MessageKind)
{
    // The box gives the focus back to the script text, also when a run shows one box after another.
    NyUser::CommonDialogs::MsgWindow::show(this, caption, text, NyUser::CommonDialogs::MsgWindow::Ok);
}

}
