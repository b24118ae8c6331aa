// Document: the base of every document kind. It has a title, the file it is
// stored in, and the application it belongs to; derived documents write
// themselves and create their views.
#pragma once

#include "nycore/io/stream.h"
#include "nycore/system/linkable_object.h"
#include "nyuser/models/application.h"

namespace NyUser::Models {

class Document : public NyCore::Extenders::LinkableObject {
    NY_REFLECTIVE(Document)
public:
    explicit Document(Application* application) : application(application) {}
    ~Document() override;

    // Writes the document's file content to an open writer; the document's
    // modified state stays as it is until markSaved.
    virtual void writeTo(NyCore::IO::StreamWriter* writer);
    // Called once what writeTo wrote has safely reached the file: the
    // document is no longer modified. A failed write never calls it.
    virtual void markSaved();
    virtual NyCore::Object* createDefaultView();
    // Called after the title changed.
    virtual void onTitleChange();
    virtual bool get$isModified() const;

    // Replaces the title with a copy of s, then calls onTitleChange.
    void set$title(NyCore::String const* s);
    NyCore::String const* get$title() const { return title; }
    void set$fileName(NyCore::String const* s);
    NyCore::String const* get$fileName() const { return fileName; }
    Application* get$application() const { return application; }

private:
    Application* application;
    NyCore::String* title = nullptr;
    NyCore::String* fileName = nullptr;
};

}
