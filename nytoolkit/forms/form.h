// Form: the top-level widget of a form file. It reads its caption and
// background, builds its children, and finds them again by their ids.
#pragma once

#include "nycore/collection/string_map.h"
#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit {

class Form : public NytkWidget {
    NY_REFLECTIVE(Form)
public:
    Form() = default;
    ~Form() override;
    static NyCore::Object* __create();

    // "caption" (window title), "bkgndColor", then the children and links.
    void setParameters(NyCore::XML::Element* element) override;
    // A later widget with the same id replaces the earlier one.
    void addChildReference(NyCore::String const* id, NyCore::System::Widget* widget);
    // Null when no widget has the id.
    NyCore::System::Widget* getChild(NyCore::String const* id) const;

private:
    NyCore::Collections::StringMap<NyCore::System::Widget*>* ids = nullptr;
};

}
