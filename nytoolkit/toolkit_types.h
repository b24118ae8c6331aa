// The type records that the toolkit library registers when it is loaded,
// one null-terminated list per area folder (each list lives in its folder's
// *_types.cpp, beside the classes it names).
#pragma once

#include "nycore/system/type.h"

namespace NyToolkit {

extern NyCore::TypeData* const FormTypes[];
extern NyCore::TypeData* const StyleTypes[];
extern NyCore::TypeData* const ScrollTypes[];
extern NyCore::TypeData* const TextTypes[];
extern NyCore::TypeData* const ButtonTypes[];
extern NyCore::TypeData* const TableTypes[];
extern NyCore::TypeData* const ListTypes[];
extern NyCore::TypeData* const WidgetTypes[];

}
