// The calculator document: the console's events in, the session's transcript out.
#include "vexadrome/interface/calculator_doc.h"

#include "nycore/graphics/font.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nyuser/input/command_console.h"

namespace Vexadrome::Interface {

namespace {

NyCore::MethodEntry const CalculatorDocMethods[] = {
    {u"clearCmnd", NY_METHOD(CalculatorDoc::clearCmnd)},
    {u"executeCmnd", NY_METHOD(CalculatorDoc::executeCmnd)},
    {u"showPrevCmnd", NY_METHOD(CalculatorDoc::showPrevCmnd)},
    {u"showNextCmnd", NY_METHOD(CalculatorDoc::showNextCmnd)},
    {u"onClearScreen", NY_METHOD(CalculatorDoc::onClearScreen)},
    {u"onViewHistory", NY_METHOD(CalculatorDoc::onViewHistory)},
    {nullptr, nullptr},
};

}

NyCore::TypeData CalculatorDoc::MetaData = {&NyUser::Models::Document::MetaData, nullptr,
                                            u"Vexadrome.Interface.CalculatorDoc"_str, CalculatorDocMethods,
                                            NyCore::NoEvents, nullptr, sizeof(CalculatorDoc), 0, nullptr};

NyCore::String const* const CalculatorDoc::ConsoleTypeName = u"NyUser.Input.CommandConsole"_str;
NyCore::String const* const CalculatorDoc::FontFace = u"courier new"_str;

CalculatorDoc::CalculatorDoc(Documents::DocumentHost* host)
    : Document(host), host(host), session(host->get$store(), &transcript)
{
}

// The console belongs to the window tree and may already be gone: it is not touched here.
CalculatorDoc::~CalculatorDoc() = default;

void CalculatorDoc::writeTo(NyCore::IO::StreamWriter*) {}

bool CalculatorDoc::get$isModified() const
{
    return false;
}

NyCore::Object* CalculatorDoc::createDefaultView()
{
    NyCore::Object* created = host->createNewView(ConsoleTypeName, get$title(), 0);
    console = dynamic_cast<NyUser::Input::CommandConsole*>(created);
    if (console == nullptr)
        return created;
    transcript.set$console(console);
    NyCore::Object::link(console, this, u"escapePressed", NY_METHOD(CalculatorDoc::clearCmnd));
    NyCore::Object::link(console, this, u"enterPressed", NY_METHOD(CalculatorDoc::executeCmnd));
    NyCore::Object::link(console, this, u"upArrowKeyPressed", NY_METHOD(CalculatorDoc::showPrevCmnd));
    NyCore::Object::link(console, this, u"dnArrowKeyPressed", NY_METHOD(CalculatorDoc::showNextCmnd));

    // The border goes first, so that the font's layout counts columns over the whole client.
    console->set$borderVisible(false);
    NyCore::Graphics::Font* font = NyCore::Graphics::Font::create(FontFace, FontSize, 0);
    console->set$font(font);
    // The first prompt shows with the console's first full paint.
    console->setDrawingSuppressed(true);
    promptInput();
    console->setDrawingSuppressed(false);
    font->release();
    return console;
}

void CalculatorDoc::promptInput()
{
    clearCmnd();
    session.promptInput();
}

void CalculatorDoc::clearCmnd()
{
    if (console)
        console->set$commandLine(nullptr);
}

void CalculatorDoc::executeCmnd()
{
    NyCore::String const* typed = console ? console->get$commandLine() : nullptr;
    if (typed == nullptr || typed->count == 0)
        return;
    // The session echoes the line into the transcript; the command line is
    // emptied first so that the text does not show twice meanwhile.
    NyCore::String* line = string_copy(typed);
    clearCmnd();
    session.executeCmnd(line);
    string_free(line);
}

void CalculatorDoc::showPrevCmnd()
{
    showCmndString(session.get$history()->getPrevEntry());
}

void CalculatorDoc::showNextCmnd()
{
    showCmndString(session.get$history()->getNextEntry());
}

void CalculatorDoc::showCmndString(NyCore::String const* s)
{
    if (s && console)
        console->set$commandLine(s);
}

void CalculatorDoc::onClearScreen()
{
    clearCmnd();
    session.onClearScreen();
}

void CalculatorDoc::onViewHistory()
{
    clearCmnd();
    session.onViewHistory();
}

}
