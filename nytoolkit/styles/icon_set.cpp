// Icon strips shared by count, loaded from the program's data files.
#include "nytoolkit/styles/icon_set.h"

#include "nycore/io/data_folder.h"
#include "nycore/system/owned.h"
#include "nycore/text/string_functions.h"

namespace NyToolkit {

NyCore::TypeData IconSet::MetaData = {&NyCore::Extenders::CountedObject::MetaData, nullptr,
                                      u"NyToolkit.IconSet"_str, NyCore::NoMethods, NyCore::NoEvents, nullptr,
                                      sizeof(IconSet), 0, nullptr};

IconSet* IconSet::load(NyCore::String const* fileName)
{
    NyCore::Owned<NyCore::String, string_free> path(data_file_find(fileName));
    IconSet* set = new IconSet();
    icons_load(&set->strip, path.get());
    set->loaded = true;
    return set;
}

IconSet* IconSet::load(char16_t const* fileName)
{
    NyCore::Owned<NyCore::String, string_free> name(string_from_cstr(fileName));
    return load(name.get());
}

IconSet::~IconSet()
{
    if (loaded)
        icons_destroy(&strip);
}

void IconSet::draw(NyCore::Graphics::GC* gc, int x, int y, int index)
{
    if (index >= 0 && index < strip.count)
        gc_copy_icon(gc, x, y, &strip, index, NyCore::Graphics::IconOpaque);
}

}
