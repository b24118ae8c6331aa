// The entry of libnytoolkit.so: registers every toolkit class on load so that
// form files can create them by name, and releases the shared styles on unload.
#include "nycore/system/module.h"
#include "nycore/system/widget.h"
#include "nytoolkit/styles/style.h"
#include "nytoolkit/toolkit_types.h"

namespace {

NyCore::TypeData* const* const AreaTypes[] = {
    NyToolkit::FormTypes,   NyToolkit::StyleTypes, NyToolkit::ScrollTypes, NyToolkit::TextTypes,
    NyToolkit::ButtonTypes, NyToolkit::TableTypes, NyToolkit::ListTypes,   NyToolkit::WidgetTypes,
};

int rdinit()
{
    for (NyCore::TypeData* const* area : AreaTypes) {
        for (NyCore::TypeData* const* record = area; *record; ++record)
            NyCore::Type::registerType(*record);
    }
    NyCore::System::Widget::atDisplayClose(&NyToolkit::Style::releaseDefaults);
    return 0;
}

int rdfini()
{
    NyToolkit::Style::releaseDefaults();
    for (NyCore::TypeData* const* area : AreaTypes) {
        for (NyCore::TypeData* const* record = area; *record; ++record)
            NyCore::Type::unregisterType(*record);
    }
    return 0;
}

}

NY_MODULE_ENTRY()
