// The model classes the framework registers.
#include "nyuser/models/application.h"
#include "nyuser/models/document.h"
#include "nyuser/models/menu.h"
#include "nyuser/models/menu_exceptions.h"
#include "nyuser/models/menu_root.h"
#include "nyuser/user_types.h"

namespace NyUser {

NyCore::TypeData* const ModelTypes[] = {&Models::Application::MetaData,
                                        &Models::Document::MetaData,
                                        &Models::MenuElement::MetaData,
                                        &Models::MenuItem::MetaData,
                                        &Models::SubMenu::MetaData,
                                        &Models::Menu::MetaData,
                                        &Models::MenuRoot::MetaData,
                                        &Models::WrongMenuRootException::MetaData,
                                        &Models::NoRootMenuException::MetaData,
                                        &Models::NoCallbackObjectException::MetaData,
                                        nullptr};

}
