// The menu model: menus built from static tables, running entries through
// the root's callback slots, the delayed callback, joining menu trees to
// their root, the three exceptions and the reference counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nycore/system/method_thunk.h"
#include "nyuser/models/menu.h"
#include "nyuser/models/menu_root.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"
#include "tests/support/windows.h"

using namespace NyUser::Models;
using TestSupport::OwnedString;

namespace {

// A handler object: each method notes its name and returns its own number.
class Handlers : public NyCore::Object {
    NY_REFLECTIVE(Handlers)
public:
    int onOpen() { calls.push_back("onOpen"); return 11; }
    int onSave() { calls.push_back("onSave"); return 22; }
    std::vector<std::string> calls;
};

NyCore::MethodEntry const HandlerMethods[] = {
    {u"onOpen", NY_METHOD(Handlers::onOpen)}, {u"onSave", NY_METHOD(Handlers::onSave)}, {nullptr, nullptr}};
NyCore::TypeData Handlers::MetaData = {&NyCore::Object::MetaData, nullptr, u"Tests.MenuHandlers"_str, HandlerMethods,
                                       NyCore::NoEvents, nullptr, sizeof(Handlers), 0, nullptr};

MenuItemData const End = {nullptr, nullptr, -1000, -1};

// The entries of a menu of items as text: a label and its slot, "-" for a separator.
std::string entries(Menu const* menu)
{
    std::string text;
    for (int i = 0; i < menu->get$count(); ++i) {
        auto* item = static_cast<MenuItem*>(menu->getElement(i));
        text += i ? " " : "";
        text += item ? TestSupport::toUtf8(item->get$text()) + ":" + std::to_string(item->get$slot()) : "-";
    }
    return text;
}

// "Open" (slot 0), a separator, "Save" (slot 1, icon 3) and "Plain" (no method).
MenuItemData const Records[] = {{u"Open"_str, u"onOpen"_str, 0, -1}, {nullptr, nullptr, 0, -1},
                                {u"Save"_str, u"onSave"_str, 1, 3},   {u"Plain"_str, nullptr, 0, -1}, End};

// A root of the records with two slots holding `handlers`.
MenuRoot* rootWith(Handlers* handlers)
{
    MenuRoot* root = Menu::createRoot(Records);
    EXPECT_EQ(root->createObjectSlots(2), 0);
    root->setCallbackObject(0, handlers);
    root->setCallbackObject(1, handlers);
    return root;
}

}

TEST(MenuModel, TablesBuildEntriesAndSeparatorsUpToTheTerminator)
{
    // A slot below -1 ends a table; -1 is an entry without slot.
    MenuItemData const separator = {nullptr, nullptr, 0, -1};
    struct Case {
        std::vector<MenuItemData> records;
        std::string expected;
    } const cases[] = {
        {{End}, ""},
        {{separator, {u"A"_str, u"onA"_str, 0, 1}, separator, End}, "- A:0 -"},
        {{{u"A"_str, nullptr, -1, -1}, {u"B"_str, nullptr, 3, -1}, End}, "A:-1 B:3"},
        {{{u"A"_str, nullptr, 0, -1}, {u"B"_str, nullptr, -2, -1}, {u"C"_str, nullptr, 0, -1}}, "A:0"},
    };
    for (Case const& c : cases) {
        Menu* menu = Menu::createMenu(c.records.data());
        EXPECT_EQ(entries(menu), c.expected);
        menu->release();
    }
}

TEST(MenuModel, EntriesRunTheirMethodOnTheSlotObject)
{
    TestSupport::registerOnce(&Handlers::MetaData);
    Handlers handlers;
    MenuRoot* root = rootWith(&handlers);
    EXPECT_EQ(root->getElement(2)->get$icon(), 3);
    Menu* child = new Menu();
    root->appendNew(new SubMenu(OwnedString(u"More"), child));
    // Open, the separator, Save, an item without method, the submenu, past either end.
    struct Case {
        int entry;
        int result;
        std::vector<std::string> calls;
    } const cases[] = {{0, 11, {"onOpen"}}, {1, 0, {}}, {2, 22, {"onSave"}}, {3, 0, {}},
                       {4, 0, {}},          {9, 0, {}}, {-1, 0, {}}};
    for (Case const& c : cases) {
        handlers.calls.clear();
        EXPECT_EQ(root->executeCallback(c.entry), c.result) << c.entry;
        EXPECT_EQ(handlers.calls, c.calls) << c.entry;
    }

    // Entries of a submenu run on the root's slots; a changed callback is used at once.
    auto* save = new MenuItem(OwnedString(u"Save"), 1, OwnedString(u"onOpen"));
    child->appendNew(save);
    EXPECT_EQ(child->get$root(), root);
    handlers.calls.clear();
    EXPECT_EQ(child->executeCallback(0), 11);
    save->setCallback(0, OwnedString(u"onSave"));
    EXPECT_EQ(child->executeCallback(0), 22);
    EXPECT_EQ(handlers.calls, (std::vector<std::string>{"onOpen", "onSave"}));

    // Two selections before the delayed call: the first one runs, once.
    handlers.calls.clear();
    EXPECT_EQ(root->setCallbackIndex(2), 2);
    EXPECT_EQ(root->setCallbackIndex(0), 2);
    EXPECT_EQ(root->delayedCallback(), 22);
    EXPECT_EQ(root->delayedCallback(), 0);
    EXPECT_EQ(handlers.calls, (std::vector<std::string>{"onSave"}));
    // The submenu took its own reference to the child.
    child->release();
    root->release();
}

TEST(MenuModel, TreesJoinTheirRootAndEntriesAreCounted)
{
    MenuItemData const records[] = {{u"A"_str, nullptr, 0, -1}, {u"B"_str, nullptr, 1, -1}, End};
    MenuRoot* root = Menu::createRoot(records);
    EXPECT_EQ(root->get$root(), root);
    Menu* outer = new Menu();
    Menu* inner = new Menu();
    // A tree built below a menu without root joins the root when its top is inserted.
    outer->appendNew(new SubMenu(OwnedString(u"Inner"), inner));
    EXPECT_EQ(inner->get$root(), nullptr);
    auto* outerEntry = new SubMenu(OwnedString(u"Outer"), 5, outer);
    root->insert(1, outerEntry);
    EXPECT_EQ(outer->get$root(), root);
    EXPECT_EQ(inner->get$root(), root);
    EXPECT_EQ(root->getSubMenu(1), outer);
    EXPECT_TRUE(root->getElement(1)->get$isSubMenu());

    // Joining the same root again, or none, changes nothing; a menu holding itself ends the walk.
    outer->setRoot(root);
    outer->setRoot(nullptr);
    outer->append(outerEntry);
    EXPECT_EQ(outer->get$root(), root);
    outer->remove(1);

    // Inserting and removing hold and give up one reference each; a submenu holds its child.
    EXPECT_EQ(outerEntry->get$referenceCount(), 2);
    root->insertNew(0, nullptr);
    root->remove(2);
    EXPECT_EQ(outerEntry->get$referenceCount(), 1);
    EXPECT_EQ(entries(root), "- A:0 B:1");
    // A new child releases the old one: outer goes, and its entries with it, so
    // inner is held by the test and outerEntry only, however often it is set.
    outer->release();
    outerEntry->set$child(inner);
    outerEntry->set$child(inner);
    EXPECT_EQ(inner->get$referenceCount(), 2);

    // Emptying a menu releases its entries: the submenu entry and, through it, the child.
    auto* item = new MenuItem(OwnedString(u"Item"));
    root->append(item);
    root->appendNew(outerEntry);
    EXPECT_EQ(item->get$referenceCount(), 2);
    root->removeAll();
    EXPECT_EQ(root->get$count(), 0);
    EXPECT_EQ(std::pair(item->get$referenceCount(), inner->get$referenceCount()), std::pair(1, 1));
    item->release();
    inner->release();
    root->release();
}

TEST(MenuModel, MissingRootsSlotsAndSecondRootsAreFatal)
{
    TestSupport::registerOnce(&Handlers::MetaData);
    // Slot 2 exists but is empty; slot 7 does not exist at all.
    for (int slot : {2, 7}) {
        TestSupport::expectException(
            [slot] {
                Handlers handlers;
                MenuRoot* root = rootWith(&handlers);
                root->createObjectSlots(1);
                root->appendNew(new MenuItem(OwnedString(u"Run"), slot, OwnedString(u"onOpen")));
                root->executeCallback(root->get$count() - 1);
            },
            "NyUser.Models.NoCallbackObjectException", "No object defined for callback slot " + std::to_string(slot));
    }
    TestSupport::expectException(
        [] {
            Menu* menu = Menu::createMenu(Records);
            menu->setCallbackIndex(0);
            menu->delayedCallback();
        },
        "NyUser.Models.NoRootMenuException", "No root menu defined");
    TestSupport::expectException(
        [] {
            MenuRoot* first = Menu::createRoot(&End);
            MenuRoot* second = Menu::createRoot(&End);
            Menu* shared = new Menu();
            first->appendNew(new SubMenu(OwnedString(u"Shared"), shared));
            second->appendNew(new SubMenu(OwnedString(u"Again"), shared));
        },
        "NyUser.Models.WrongMenuRootException", "This menu cannot be inserted into more than one root menu.");
}
