// StyleContainer: named styles, each held by one reference (the default
// container holds "control", "display" and "button" in class order).
#pragma once

#include "nycore/collection/name_vector.h"
#include "nycore/system/counted_object.h"

namespace NyToolkit {

class Style;

class StyleContainer : public NyCore::Extenders::CountedObject {
    NY_REFLECTIVE(StyleContainer)
public:
    StyleContainer() = default;
    ~StyleContainer() override;

    // Takes a reference on the style.
    void addStyle(NyCore::String const* name, Style* style);
    // Releases the style; a name that is not present throws InvalidIndexException with the name.
    void removeStyle(NyCore::String const* name);
    // Null when the name or index is not present.
    Style* getStyle(NyCore::String const* name) const;
    Style* getStyle(int index) const;
    int get$count() const { return styles.get$count(); }

private:
    NyCore::Collections::NameVectorBase styles;
};

}
