// ListContents: the items of lists and drop lists (a label, an optional icon
// number and a data pointer each) with the icon set they draw from. It is
// counted so that several lists can show one set of items; which item is
// chosen is each list's own business, never the shared contents'.
#pragma once

#include <cstdint>

#include "nycore/collection/inline_vector.h"
#include "nycore/system/counted_object.h"
#include "nycore/xml/xml_node.h"
#include "nytoolkit/styles/icon_set.h"

namespace NyToolkit {

class ListContents : public NyCore::Extenders::CountedObject {
    NY_REFLECTIVE(ListContents)
public:
    struct Item {
        NyCore::Object* data;   // not owned
        NyCore::String* label;  // owned copy, never null
        std::int32_t icon;      // -1 for none
    };

    ListContents();
    ~ListContents() override;
    static NyCore::Object* __create();

    // A missing label is stored as the empty string; index is limited to 0 ... count.
    void insert(int index, NyCore::String const* label, NyCore::Object* data, int icon);
    void append(NyCore::String const* label, NyCore::Object* data, int icon);
    // "iconsFile" (an icon file that replaces the held set), then one item per
    // "item" child with its "label" and "icon" (-1 when absent).
    void append(NyCore::XML::Element* element);
    void remove(int index);
    void clear();

    int get$count() const { return items.get$count(); }
    // Null for an index outside the items.
    Item const* getItem(int index) const;
    // The item's label, the empty string outside the items.
    NyCore::String const* getLabel(int index) const;
    // The item's data, null outside the items.
    NyCore::Object* getData(int index) const;
    // The first item whose data is `data`, -1 when none.
    int indexOfData(NyCore::Object const* data) const;

    IconSet* get$icons() const { return icons; }
    // Takes a reference on the new set before releasing the old one.
    void set$icons(IconSet* set);

private:
    NyCore::Collections::InlineVectorBase items;
    IconSet* icons = nullptr;
};

}
