// Items shared by lists and drop lists.
#include "nytoolkit/lists/list_contents.h"

#include "nycore/text/string_functions.h"
#include "nytoolkit/forms/loader.h"

namespace NyToolkit {

NyCore::TypeData ListContents::MetaData = {&NyCore::Extenders::CountedObject::MetaData, nullptr,
                                           u"NyToolkit.ListContents"_str, NyCore::NoMethods, NyCore::NoEvents,
                                           &ListContents::__create, sizeof(ListContents), 0, nullptr};

ListContents::ListContents() : items(sizeof(Item), 0, 4) {}

ListContents::~ListContents()
{
    clear();
    if (icons)
        icons->release();
}

NyCore::Object* ListContents::__create()
{
    return new ListContents();
}

void ListContents::insert(int index, NyCore::String const* label, NyCore::Object* data, int icon)
{
    if (index < 0)
        index = 0;
    if (index > items.get$count())
        index = items.get$count();
    items.insert(index, 1);
    auto* item = static_cast<Item*>(items.getReference(index));
    item->data = data;
    item->label = label ? string_copy(label) : string_from_cstr(u"");
    item->icon = icon;
}

void ListContents::append(NyCore::String const* label, NyCore::Object* data, int icon)
{
    insert(items.get$count(), label, data, icon);
}

void ListContents::append(NyCore::XML::Element* element)
{
    if (!element)
        return;
    if (NyCore::String const* file = xml_get_attribute(element, u"iconsFile")) {
        IconSet* set = IconSet::load(file);
        set$icons(set);
        set->release();
    }
    for (NyCore::XML::Node* node = xml_first_child(element); node; node = xml_next_sibling(node)) {
        if (xml_get_type(node) != NyCore::XML::ElementNode || string_compare(xml_get_name(node), u"item"_str) != 0)
            continue;
        NyCore::String const* iconText = xml_get_attribute(node, u"icon");
        append(xml_get_attribute(node, u"label"), nullptr, iconText ? string_to_int(iconText, 10) : -1);
    }
}

void ListContents::remove(int index)
{
    if (index < 0 || index >= items.get$count())
        return;
    string_free(static_cast<Item*>(items.getReference(index))->label);
    items.remove(index, 1);
}

void ListContents::clear()
{
    for (int i = 0; i < items.get$count(); ++i)
        string_free(static_cast<Item*>(items.getReference(i))->label);
    items.resize(0);
}

ListContents::Item const* ListContents::getItem(int index) const
{
    if (index < 0 || index >= items.get$count())
        return nullptr;
    return static_cast<Item const*>(items.getReference(index));
}

NyCore::String const* ListContents::getLabel(int index) const
{
    Item const* item = getItem(index);
    return item ? item->label : u""_str;
}

NyCore::Object* ListContents::getData(int index) const
{
    Item const* item = getItem(index);
    return item ? item->data : nullptr;
}

int ListContents::indexOfData(NyCore::Object const* data) const
{
    for (int i = 0; i < items.get$count(); ++i) {
        if (static_cast<Item const*>(items.getReference(i))->data == data)
            return i;
    }
    return -1;
}

void ListContents::set$icons(IconSet* set)
{
    if (set)
        set->addRef();
    if (icons)
        icons->release();
    icons = set;
}

}
