// The type records that the framework library registers when it is loaded,
// one null-terminated list per layer folder (each list lives in its folder's
// *_types.cpp, beside the classes it names).
#pragma once

#include "nycore/system/type.h"

namespace NyUser {

extern NyCore::TypeData* const ModelTypes[];
extern NyCore::TypeData* const MenuTypes[];
extern NyCore::TypeData* const InputTypes[];
extern NyCore::TypeData* const ViewTypes[];
extern NyCore::TypeData* const ViewerTypes[];
extern NyCore::TypeData* const DialogTypes[];

}
