// The workbench's application object: start-up, the new, open, save and
// close commands with their questions, and the document list that stays in
// the order of the main window's tabs.
#include "vexadrome/interface/vexadrome_app.h"

#include <algorithm>

#include "nycore/io/directory.h"
#include "nycore/system/boxed_values.h"
#include "nycore/system/console.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "nyuser/commondialogs/file_browse_dialog.h"
#include "nyuser/commondialogs/input_window.h"
#include "nyuser/commondialogs/msg_window.h"
#include "vexadrome/documents/command_doc.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/documents/math_doc_reader.h"
#include "vexadrome/documents/math_doc_writer.h"
#include "vexadrome/interface/calculator_doc.h"
#include "vexadrome/interface/help_doc.h"
#include "vexadrome/interface/help_paths.h"
#include "vexadrome/interface/vexadrome_app_win.h"

namespace Vexadrome::Interface {

namespace {

using NyCore::String;
using NyUser::CommonDialogs::MsgWindow;
using NyUser::Models::Document;

String const* const OpenFilters[] = {u"All Vexadrome Files\t*.vexscr;*.graph"_str, u"Vexadrome Graphs\t*.graph"_str,
                                     u"Vexadrome Commands\t*.vexscr"_str, u"All Files\t*.*"_str, nullptr};
String const* const CommandFilters[] = {u"Vexadrome Command\t*.vexscr\tvexscr"_str, nullptr};
String const* const GraphFilters[] = {u"Vexadrome Graph\t*.graph\tgraph"_str, nullptr};


// "first\nsecond" as a new String; a null second gives the first alone.
String* twoLines(String const* first, String const* second)
{
    if (!second)
        return string_copy(first);
    String* head = string_append(first, u"\n"_str);
    String* text = string_append(head, second);
    string_free(head);
    return text;
}

// The name a new document is offered: the pattern's {0} is the number the
// document gets among the open ones.
String* numberedName(String const* pattern, int documentCount)
{
    NyCore::Integer32 number(documentCount + 1);
    return String::format(pattern, &number);
}

NyCore::MethodEntry const AppMethods[] = {
    {u"onNewCalculator", NY_METHOD(VexadromeApp::onNewCalculator)},
    {u"onNewCommand", NY_METHOD(VexadromeApp::onNewCommand)},
    {u"onNewGraph", NY_METHOD(VexadromeApp::onNewGraph)},
    {u"onOpen", NY_METHOD(VexadromeApp::onOpen)},
    {u"onSaveCur", NY_METHOD(VexadromeApp::onSaveCur)},
    {u"onSaveAs", NY_METHOD(VexadromeApp::onSaveAs)},
    {u"onSaveAll", NY_METHOD(VexadromeApp::onSaveAll)},
    {u"onExit", NY_METHOD(VexadromeApp::onExit)},
    {u"onHelpTopics", NY_METHOD(VexadromeApp::onHelpTopics)},
    {u"onHelpCalc", NY_METHOD(VexadromeApp::onHelpCalc)},
    {u"onHelpGraph", NY_METHOD(VexadromeApp::onHelpGraph)},
    {u"onHelpCmnd", NY_METHOD(VexadromeApp::onHelpCmnd)},
    {nullptr, nullptr},
};

}

NyCore::TypeData VexadromeApp::MetaData = {&NyUser::Models::Application::MetaData, nullptr,
                                           u"Vexadrome.Interface.VexadromeApp"_str, AppMethods, NyCore::NoEvents,
                                           nullptr, sizeof(VexadromeApp), 0, nullptr};

String const* const VexadromeApp::Caption = u"Vexadrome"_str;

VexadromeApp::VexadromeApp() = default;

VexadromeApp::~VexadromeApp()
{
    for (Document* document : documents)
        delete document;
    string_free(baseDir);
}

NyCore::Object* VexadromeApp::createNewView(String const* typeName, String const* title, int flags)
{
    return mainWindow ? mainWindow->createNewView(typeName, title, flags) : nullptr;
}

void VexadromeApp::setViewTitle(NyCore::Object* view, String const* title)
{
    if (mainWindow)
        mainWindow->setViewTitle(view, title);
}

void VexadromeApp::startup()
{
    baseDir = directory_get_cur();
    if (!baseDir)
        baseDir = string_copy(u""_str);
    NyCore::System::WidgetPoint screen;
    NyCore::System::Widget::screenSize(&screen);
    std::uint32_t const flags = NyCore::System::WidgetFlags::TopLevel | NyCore::System::WidgetFlags::Resizeable;
    mainWindow = static_cast<VexadromeAppWin*>(NyCore::System::Widget::create(
        nullptr, u"Vexadrome.Interface.VexadromeAppWin", flags, (screen.x - WindowWidth) / 2,
        (screen.y - WindowHeight) / 2, WindowWidth, WindowHeight));
    mainWindow->set$application(this);
    mainWindow->setCaption(Caption);
    // The window takes the keyboard itself, so that shortcuts work before any
    // tab exists, with or without a window manager.
    mainWindow->focus();
}

void VexadromeApp::shutdown() {}

int VexadromeApp::execute()
{
    return NyCore::System::EventLoop::execute(mainWindow);
}

void VexadromeApp::showMessage(String const* text)
{
    if (unattended)
        print_error(u"vexadrome: %s\n", text->units());
    else
        MsgWindow::show(mainWindow, Caption, text, MsgWindow::Ok);
}

String* VexadromeApp::requestDocName(String const* prompt, String const* pattern)
{
    String* proposal = numberedName(pattern, get$documentCount());
    String* answer = NyUser::CommonDialogs::InputWindow::ask(mainWindow, Caption, prompt, proposal);
    string_free(proposal);
    return answer;
}

void VexadromeApp::appendDocument(String* name, Document* document)
{
    documents.push_back(document);
    document->set$title(name);
    string_free(name);
    NyCore::Object* view = document->createDefaultView();
    if (!view) {
        // No view of that kind could be made: the document leaves again.
        documents.pop_back();
        delete document;
        showMessage(u"The window for this document could not be created."_str);
    }
}

void VexadromeApp::onNewCalculator()
{
    if (String* name = requestDocName(u"Name for the new calcualtor window"_str, u"Calculator{0}"_str))
        appendDocument(name, new CalculatorDoc(this));
}

void VexadromeApp::onNewCommand()
{
    if (String* name = requestDocName(u"Name for the new command window"_str, u"Command{0}"_str))
        appendDocument(name, new Documents::CommandDoc(this));
}

void VexadromeApp::onNewGraph()
{
    auto* graph = new Documents::GraphDoc(this);
    String* title = numberedName(u"Graph{0}"_str, get$documentCount());
    graph->set$title(title);
    string_free(title);
    // The options dialog comes first; cancelled, the graph never was.
    if (!graph->showEditWindow(mainWindow)) {
        delete graph;
        return;
    }
    appendDocument(string_copy(graph->get$title()), graph);
}

void VexadromeApp::onOpen()
{
    int filter = 0;
    String* path = NyUser::CommonDialogs::FileBrowseDialog::openFile(mainWindow, u"Select a file to open"_str,
                                                                    nullptr, OpenFilters, &filter);
    if (path)
        openDataFile(path);
    string_free(path);
}

bool VexadromeApp::openDataFile(String const* path)
{
    String* reason = nullptr;
    Document* document = Documents::MathDocReader::load(path, this, &reason);
    if (!document) {
        String* text = twoLines(u"Failed to open document."_str, reason);
        showMessage(text);
        string_free(text);
        string_free(reason);
        return false;
    }
    String* title = string_copy(document->get$title());
    // A file without a title is shown under its own name.
    if (string_is_empty(title)) {
        string_free(title);
        int slash = string_index_of(path, u"/"_str, path->count - 1, true);
        title = string_right(path, path->count - slash - 1);
    }
    std::size_t const before = documents.size();
    // A graph's expressions are compiled and sampled before its view first draws them.
    auto* graph = dynamic_cast<Documents::GraphDoc*>(document);
    std::vector<Parsing::Error> const errors = graph ? graph->compileExprs() : std::vector<Parsing::Error>();
    appendDocument(title, document);
    if (documents.size() == before)
        return false;
    // The first expression that did not compile opens the expression editor
    // at it, with the error its compile gave.
    auto const failed = std::find_if(errors.begin(), errors.end(), [](Parsing::Error const& e) { return e.hasCode(); });
    if (failed != errors.end() && !unattended)
        graph->showExprError(static_cast<int>(failed - errors.begin()), *failed);
    return true;
}

// A help page's link names the sample; only files inside the start-up
// directory or the program's data folders open, never one elsewhere.
bool VexadromeApp::openSampleFile(String const* name)
{
    String* path = findSampleFile(baseDir, name);
    if (!path) {
        String* head = string_append(u"The sample '"_str, name);
        String* text = string_append(head, u"' is not among the program's files."_str);
        showMessage(text);
        string_free(text);
        string_free(head);
        return false;
    }
    bool opened = openDataFile(path);
    string_free(path);
    return opened;
}

// Each call opens a new help tab, also for a page already open.
void VexadromeApp::openHelpFile(char16_t const* name)
{
    String* page = string_from_cstr(name);
    String* path = findHelpPage(baseDir, page);
    string_free(page);
    auto* help = new HelpDoc(this, path);
    string_free(path);
    appendDocument(string_copy(HelpDoc::Title), help);
}

void VexadromeApp::onHelpTopics() { openHelpFile(u"help/index.htm"); }
void VexadromeApp::onHelpCalc() { openHelpFile(u"help/calculator.htm"); }
void VexadromeApp::onHelpGraph() { openHelpFile(u"help/graph.htm"); }
void VexadromeApp::onHelpCmnd() { openHelpFile(u"help/command.htm"); }

bool VexadromeApp::isSavable(Document const* document)
{
    return dynamic_cast<Documents::CommandDoc const*>(document) || dynamic_cast<Documents::GraphDoc const*>(document);
}

bool VexadromeApp::askForDocFileName(Document* document)
{
    String const* const* filters = nullptr;
    if (dynamic_cast<Documents::CommandDoc*>(document))
        filters = CommandFilters;
    else if (dynamic_cast<Documents::GraphDoc*>(document))
        filters = GraphFilters;
    int filter = 0;
    String* path = NyUser::CommonDialogs::FileBrowseDialog::saveFile(mainWindow, u"Select file destination"_str,
                                                                    nullptr, filters, &filter);
    if (!path)
        return false;
    document->set$fileName(path);
    string_free(path);
    return true;
}

bool VexadromeApp::writeDocument(Document* document)
{
    String* reason = nullptr;
    // The document is written to memory first and replaces its file whole,
    // so a failure leaves the old file and the document's modified state.
    if (Documents::MathDocWriter::save(document, document->get$fileName(), &reason))
        return true;
    String* head = string_append(u"Could not save '"_str, document->get$fileName());
    String* first = string_append(head, u"'."_str);
    String* text = twoLines(first, reason);
    showMessage(text);
    string_free(text);
    string_free(first);
    string_free(head);
    string_free(reason);
    return false;
}

bool VexadromeApp::saveDocument(Document* document)
{
    if (!isSavable(document))
        return true;
    // A document never saved has no file name yet: the chooser asks for one.
    String const* fileName = document->get$fileName();
    if ((!fileName || string_is_empty(fileName)) && !askForDocFileName(document))
        return false;
    return writeDocument(document);
}

void VexadromeApp::onSaveCur()
{
    if (Document* document = getDocument(mainWindow->get$activeViewIndex()))
        saveDocument(document);
}

void VexadromeApp::onSaveAs()
{
    Document* document = getDocument(mainWindow->get$activeViewIndex());
    if (document && isSavable(document) && askForDocFileName(document))
        writeDocument(document);
}

// Calculators and help pages have nothing to write and are passed over.
void VexadromeApp::onSaveAll()
{
    std::vector<Document*> const all = documents;
    for (Document* document : all)
        if (isSavable(document))
            saveDocument(document);
}

bool VexadromeApp::checkIsSaved(Document* document)
{
    if (!document || !document->get$isModified())
        return true;
    String* head = string_append(u"Would you like to save '"_str, document->get$title());
    String* question = string_append(head, u"'?"_str);
    int answer = MsgWindow::show(mainWindow, Caption, question, MsgWindow::YesNoCancel);
    string_free(question);
    string_free(head);
    if (answer == 0)
        return saveDocument(document);
    // "No" discards the changes; "Cancel", Escape and the box's close button keep everything.
    return answer == 1;
}

bool VexadromeApp::checkIsSaved(int index)
{
    return checkIsSaved(getDocument(index));
}

bool VexadromeApp::checkAllSaved()
{
    std::vector<Document*> const all = documents;
    return std::all_of(all.begin(), all.end(), [this](Document* d) { return checkIsSaved(d); });
}

// "Exit", Ctrl+Q and the window's close box all come here; a second request
// while the questions of the first are open is ignored.
void VexadromeApp::onExit()
{
    if (exiting || !mainWindow)
        return;
    exiting = true;
    bool const mayClose = checkAllSaved();
    exiting = false;
    if (mayClose)
        mainWindow->close();
}

NyCore::System::Widget* VexadromeApp::get$dialogOwner()
{
    return mainWindow;
}

Document* VexadromeApp::getDocument(int index) const
{
    return index >= 0 && index < get$documentCount() ? documents[index] : nullptr;
}

void VexadromeApp::removeDocument(int index)
{
    if (index < 0 || index >= get$documentCount())
        return;
    Document* document = documents[index];
    documents.erase(documents.begin() + index);
    delete document;
}

void VexadromeApp::moveDocument(int from, int to)
{
    int const n = get$documentCount();
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    Document* moved = documents[from];
    documents.erase(documents.begin() + from);
    documents.insert(documents.begin() + to, moved);
}

void VexadromeApp::swapDocuments(int i, int j)
{
    int const n = get$documentCount();
    if (i >= 0 && i < n && j >= 0 && j < n)
        std::swap(documents[i], documents[j]);
}

}
