// The document base: title and file name, and the do-nothing defaults.
#include "nyuser/models/document.h"

#include "nycore/text/string_functions.h"

namespace NyUser::Models {

NyCore::TypeData Document::MetaData = {&NyCore::Extenders::LinkableObject::MetaData, nullptr, u"NyUser.Models.Document"_str,
                                      NyCore::NoMethods, NyCore::NoEvents, nullptr, sizeof(Document), 0, nullptr};

Document::~Document()
{
    string_free(fileName);
    string_free(title);
}

void Document::writeTo(NyCore::IO::StreamWriter*) {}

void Document::markSaved() {}

NyCore::Object* Document::createDefaultView()
{
    return nullptr;
}

void Document::onTitleChange() {}

bool Document::get$isModified() const
{
    return false;
}

void Document::set$title(NyCore::String const* s)
{
    NyCore::String* old = title;
    title = string_copy(s);
    string_free(old);
    onTitleChange();
}

void Document::set$fileName(NyCore::String const* s)
{
    NyCore::String* old = fileName;
    fileName = string_copy(s);
    string_free(old);
}

}
