// The message window: its layout from the font height and its run.
#include "nyuser/commondialogs/msg_window.h"

#include <algorithm>

#include "nycore/graphics/font.h"
#include "nycore/graphics/gc.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/system/clipboard.h"
#include "nycore/system/exceptions.h"
#include "nytoolkit/buttons/text_button.h"
#include "nytoolkit/styles/style.h"
#include "nytoolkit/text/text_kernel.h"
#include "nytoolkit/widgets/label.h"

namespace NyUser::CommonDialogs {

namespace WF = NyCore::System::WidgetFlags;
using NyCore::String;

namespace {

NyCore::String const* const KindLabels[4][3] = {
    {u"OK"_str, nullptr, nullptr},
    {u"OK"_str, u"Cancel"_str, nullptr},
    {u"Yes"_str, u"No"_str, nullptr},
    {u"Yes"_str, u"No"_str, u"Cancel"_str},
};

// Ctrl+C (or Ctrl+Insert) anywhere in the window copies its message, as
// desktop message boxes do, so that an error can be pasted into a report.
// The clipboard is answered by the owner's window, which outlives the box.
bool copyMessage(NyCore::System::Widget* watcher, int code, int modifiers)
{
    namespace Mods = NyCore::System::KeyModifiers;
    bool const down = (modifiers & Mods::Down) != 0;
    bool const copy = (modifiers & Mods::Character) ? NyToolkit::TextKernel::chordLetter(code, modifiers) == 'c'
                                                    : code == NyCore::System::SystemKeys::Insert &&
                                                          (modifiers & Mods::Ctrl);
    if (!down || !copy)
        return false;
    auto* window = static_cast<MsgWindow*>(watcher);
    NyCore::System::Widget* owner = window->get$parent() ? window->get$parent() : window;
    NyCore::System::clipboard_set_text(owner, window->get$message());
    return true;
}

}

NyCore::TypeData MsgWindow::MetaData = {&CommonDialog::MetaData, nullptr, u"NyUser.CommonDialogs.MsgWindow"_str,
                                        NyCore::NoMethods, NyCore::NoEvents, &MsgWindow::__create,
                                        sizeof(MsgWindow), 0, nullptr};

NyCore::Object* MsgWindow::__create()
{
    return new MsgWindow();
}

MsgWindow::Layout MsgWindow::layout(String const* message, String const* const labels[3])
{
    NyCore::Graphics::Font* font = NyToolkit::Style::getDefaultStyle(NyToolkit::Style::Control)->get$font();
    int h = font->get$height();
    Layout result = {};
    int m = (2 * h) / 5;
    result.margin = m;
    result.width = 25 * h;
    result.messageHeight = h * gc_wrapped_line_count(font, message, 25 * h - 2 * m);
    result.buttonY = result.messageHeight + 3 * m;
    result.buttonHeight = (3 * h) / 2;
    result.height = result.messageHeight + 4 * m + (3 * h) / 2;
    // A missing button counts as -m, so that its gap cancels and the others stay centred.
    int total = 0;
    for (int i = 0; i < 3; ++i) {
        result.buttonWidth[i] = labels[i] ? std::max(font->measure(labels[i]) + 2 * m, 6 * h) : -m;
        total += result.buttonWidth[i];
    }
    int x = (result.width - total - 2 * m) / 2;
    for (int i = 0; i < 3; ++i) {
        result.buttonX[i] = x;
        x += result.buttonWidth[i] + m;
    }
    return result;
}

int MsgWindow::show(NyCore::System::Widget* parent, String const* caption, String const* message, int kind)
{
    if (kind < 0 || kind > 3)
        NY_THROW(InvalidParameterException());
    return display(parent, caption, message, KindLabels[kind][0], KindLabels[kind][1], KindLabels[kind][2]);
}

int MsgWindow::show(NyCore::System::Widget* parent, String const* caption, String const* message,
                    String const* first, String const* second)
{
    return display(parent, caption, message, first, second, nullptr);
}

int MsgWindow::display(NyCore::System::Widget* parent, String const* caption, String const* message,
                       String const* first, String const* second, String const* third)
{
    String const* const labels[3] = {first, second, third};
    Layout place = layout(message, labels);
    auto* window =
        static_cast<MsgWindow*>(createWindow(parent, u"NyUser.CommonDialogs.MsgWindow", place.width, place.height));
    window->message = message;
    if (caption)
        window->setCaption(caption);
    auto* label = static_cast<NyToolkit::Label*>(Widget::create(window, u"NyToolkit.Label", 0, place.margin,
                                                                place.margin, place.width - 2 * place.margin,
                                                                place.messageHeight));
    label->set$textAlign(NyCore::Graphics::TextFlags::WordWrap);
    label->setText(message);
    Widget* firstButton = nullptr;
    for (int i = 0; i < 3; ++i) {
        if (!labels[i])
            continue;
        Widget* button = window->addButton(labels[i], i, place.buttonX[i], place.buttonY, place.buttonWidth[i],
                                           place.buttonHeight);
        if (!firstButton)
            firstButton = button;
    }
    watchKeys(window, &copyMessage);
    // The watch ends with the window, which runModal closes.
    return window->runModal(firstButton ? firstButton : window);
}

}
