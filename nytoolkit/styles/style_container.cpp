// Named, counted styles.
#include "nytoolkit/styles/style_container.h"

#include "nycore/system/exceptions.h"
#include "nycore/system/runtime.h"
#include "nytoolkit/styles/style.h"

namespace NyToolkit {

NyCore::TypeData StyleContainer::MetaData = {&NyCore::Extenders::CountedObject::MetaData, nullptr,
                                             u"NyToolkit.StyleContainer"_str, NyCore::NoMethods,
                                             NyCore::NoEvents, nullptr, sizeof(StyleContainer), 0, nullptr};

StyleContainer::~StyleContainer()
{
    for (int i = 0; i < styles.get$count(); ++i)
        static_cast<Style*>(styles.get(i))->release();
}

void StyleContainer::addStyle(NyCore::String const* name, Style* style)
{
    style->addRef();
    styles.append(name, style);
}

void StyleContainer::removeStyle(NyCore::String const* name)
{
    int index = styles.getIndex(name);
    if (index < 0)
        NyCore::System::Runtime::throwException(new NyCore::InvalidIndexException(name));
    static_cast<Style*>(styles.get(index))->release();
    styles.remove(index);
}

Style* StyleContainer::getStyle(NyCore::String const* name) const
{
    return static_cast<Style*>(styles.get(name));
}

Style* StyleContainer::getStyle(int index) const
{
    return index >= 0 && index < styles.get$count() ? static_cast<Style*>(styles.get(index)) : nullptr;
}

}
