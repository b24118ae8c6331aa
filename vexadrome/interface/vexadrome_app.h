// VexadromeApp: the application object of the workbench. It creates the main
// window, owns the open documents (document i belongs to tab i) and the
// shared definition store, and carries out the file and document commands of
// the main menu, asking before anything unsaved is lost.
#pragma once

#include <vector>

#include "nyuser/models/document.h"
#include "vexadrome/documents/document_host.h"

namespace Vexadrome::Interface {

class VexadromeAppWin;

class VexadromeApp : public Documents::DocumentHost {
    NY_REFLECTIVE(VexadromeApp)
public:
    static NyCore::String const* const Caption;
    static constexpr int WindowWidth = 640;
    static constexpr int WindowHeight = 480;

    VexadromeApp();
    // Frees the documents that are still open (their views went with the window).
    ~VexadromeApp() override;

    Documents::ExprManager* get$store() override { return &store; }
    NyCore::System::Widget* get$dialogOwner() override;
    NyCore::Object* createNewView(NyCore::String const* typeName, NyCore::String const* title, int flags) override;
    void setViewTitle(NyCore::Object* view, NyCore::String const* title) override;
    // Creates the main window, centred, and binds it.
    void startup() override;
    void shutdown() override;
    // The main window's event loop; 0 once the window was closed.
    int execute() override;

    // The menu commands.
    void onNewCalculator();
    void onNewCommand();
    void onNewGraph();
    void onOpen();
    void onSaveCur();
    void onSaveAs();
    void onSaveAll();
    void onExit();
    void onHelpTopics();
    void onHelpCalc();
    void onHelpGraph();
    void onHelpCmnd();

    // Opens a document file in a new tab. A file that cannot be read or holds
    // no known document shows "Failed to open document." and the reason.
    bool openDataFile(NyCore::String const* path);
    bool openSampleFile(NyCore::String const* name);
    // The name prompt: the pattern formatted with the number of open documents
    // plus one, editable; a new String, or null when cancelled.
    NyCore::String* requestDocName(NyCore::String const* prompt, NyCore::String const* pattern);
    // Adds the document with its title and creates its view (its new tab,
    // activated, takes the keyboard); frees name.
    void appendDocument(NyCore::String* name, NyUser::Models::Document* document);
    bool askForDocFileName(NyUser::Models::Document* document);
    // Writes the document to its file; a failure is shown with the file and
    // the reason, and the document stays modified. True when written.
    bool writeDocument(NyUser::Models::Document* document);
    bool saveDocument(NyUser::Models::Document* document);
    // True when the caller may go on: nothing unsaved, saved, or "No".
    bool checkIsSaved(NyUser::Models::Document* document);
    bool checkIsSaved(int index);
    bool checkAllSaved();
    // Takes document i out of the list and frees it (its view is closing).
    void removeDocument(int index);
    // The document list follows a tab moved from `from` to `to`.
    void moveDocument(int from, int to);
    void swapDocuments(int i, int j);

    VexadromeAppWin* get$mainWindow() const { return mainWindow; }
    int get$documentCount() const { return static_cast<int>(documents.size()); }
    // Null outside the list.
    NyUser::Models::Document* getDocument(int index) const;
    NyCore::String const* get$baseDir() const { return baseDir; }
    // Unattended (a screenshot run), messages go to standard error instead
    // of a box that nobody would answer.
    void set$unattended(bool value) { unattended = value; }
    // Whether a document has anything to write to a file.
    static bool isSavable(NyUser::Models::Document const* document);

private:
    void showMessage(NyCore::String const* text);
    void openHelpFile(char16_t const* name);

    VexadromeAppWin* mainWindow = nullptr;
    Documents::ExprManager store;
    std::vector<NyUser::Models::Document*> documents;
    NyCore::String* baseDir = nullptr;
    bool exiting = false;
    bool unattended = false;
};

}
