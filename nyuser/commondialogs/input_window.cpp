// The input window: its layout from the font height and its run.
#include "nyuser/commondialogs/input_window.h"

#include <algorithm>

#include "nycore/graphics/font.h"
#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nytoolkit/styles/style.h"
#include "nytoolkit/widgets/label.h"
#include "nyuser/commondialogs/dialog_text_box.h"

namespace NyUser::CommonDialogs {

namespace WF = NyCore::System::WidgetFlags;
using NyCore::String;

namespace {

NyCore::MethodEntry const InputWindowMethods[] = {{u"onEnterPressed", NY_METHOD(InputWindow::onEnterPressed)},
                                                  {nullptr, nullptr}};

}

NyCore::TypeData InputWindow::MetaData = {&CommonDialog::MetaData, nullptr,
                                          u"NyUser.CommonDialogs.InputWindow"_str, InputWindowMethods,
                                          NyCore::NoEvents, &InputWindow::__create, sizeof(InputWindow), 0,
                                          nullptr};

NyCore::Object* InputWindow::__create()
{
    return new InputWindow();
}

InputWindow::Layout InputWindow::layout(String const* message, String const* okLabel, String const* cancelLabel)
{
    NyCore::Graphics::Font* font = NyToolkit::Style::getDefaultStyle(NyToolkit::Style::Control)->get$font();
    int h = font->get$height();
    NyCore::System::WidgetPoint screen;
    Widget::screenSize(&screen);
    Layout result = {};
    int m = (2 * h) / 5;
    result.margin = m;
    result.width = std::min(screen.x, 25 * h);
    result.messageHeight = h * gc_wrapped_line_count(font, message, result.width - 2 * m);
    result.boxY = result.messageHeight + 2 * m;
    result.boxHeight = (3 * h) / 2;
    result.height = result.messageHeight + 2 * ((3 * h) / 2) + 4 * m;
    result.buttonY = result.height - m - (3 * h) / 2;
    // The same centred row as the message window's, with its third button missing (-m).
    String const* const labels[2] = {okLabel, cancelLabel};
    int total = -m;
    for (int i = 0; i < 2; ++i) {
        result.buttonWidth[i] = labels[i] ? std::max(font->measure(labels[i]) + 2 * m, 6 * h) : -m;
        total += result.buttonWidth[i];
    }
    int x = (result.width - total - 2 * m) / 2;
    for (int i = 0; i < 2; ++i) {
        result.buttonX[i] = x;
        x += result.buttonWidth[i] + m;
    }
    return result;
}

String* InputWindow::ask(NyCore::System::Widget* parent, String const* caption, String const* message,
                         String const* initial)
{
    return ask(parent, caption, message, initial, u"OK"_str, u"Cancel"_str);
}

String* InputWindow::ask(NyCore::System::Widget* parent, String const* caption, String const* message,
                         String const* initial, String const* okLabel, String const* cancelLabel)
{
    Layout place = layout(message, okLabel, cancelLabel);
    auto* window = static_cast<InputWindow*>(
        createWindow(parent, u"NyUser.CommonDialogs.InputWindow", place.width, place.height));
    if (caption)
        window->setCaption(caption);
    int inner = place.width - 2 * place.margin;
    auto* label = static_cast<NyToolkit::Label*>(
        Widget::create(window, u"NyToolkit.Label", 0, place.margin, place.margin, inner, place.messageHeight));
    label->set$textAlign(NyCore::Graphics::TextFlags::WordWrap);
    label->setText(message);
    window->box = static_cast<DialogTextBox*>(Widget::create(window, u"NyUser.CommonDialogs.DialogTextBox",
                                                             WF::TabStop, place.margin, place.boxY, inner,
                                                             place.boxHeight));
    window->box->setText(initial);
    window->box->selectAll();
    NyCore::Object::link(window->box, window, u"enterPressed", NY_METHOD(InputWindow::onEnterPressed));
    String const* const labels[2] = {okLabel, cancelLabel};
    for (int i = 0; i < 2; ++i)
        if (labels[i])
            window->addButton(labels[i], i, place.buttonX[i], place.buttonY, place.buttonWidth[i],
                              place.boxHeight);
    // The text is taken before the window goes: runModal closes it.
    String* text = nullptr;
    window->answer = &text;
    window->runModal(window->box);
    return text;
}

void InputWindow::onEnterPressed()
{
    onButton(0);
}

void InputWindow::onButton(int number)
{
    if (isEnding())
        return;
    if (number == 0 && answer)
        *answer = string_copy(box->get$text());
    endDialog(number);
}

}
