// The command line, and module entries with their start-up counting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nycore/system/module.h"
#include "nycore/system/runtime.h"
#include "nycore/text/string_functions.h"
#include "tests/support/strings.h"

using namespace NyCore;
using NyCore::System::Runtime;

TEST(Runtime, CommandLinesSplitAtWhiteSpaceAndHonourQuotes)
{
    struct Case {
        std::u16string line;
        std::vector<std::u16string> arguments;
    } const cases[] = {
        {u"prog.exe \"a b\"  c", {u"prog.exe", u"a b", u"c"}},
        {u"prog \"\" x", {u"prog", u"", u"x"}},
        {u"  one\ttwo\r\nthree  ", {u"one", u"two", u"three"}},
        {u"say \"unterminated quote", {u"say", u"unterminated quote"}},
        {u"a\"b c\"", {u"a\"b", u"c\""}},
        {u"\"x\"y", {u"x", u"y"}},
        {u"", {}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(TestSupport::toUtf8(c.line));
        int length = static_cast<int>(c.line.size());
        EXPECT_EQ(Runtime::countArguments(c.line.data(), length), static_cast<int>(c.arguments.size()));
        auto* split = Runtime::splitArguments(c.line.data(), length);
        ASSERT_EQ(split->length, static_cast<int>(c.arguments.size()));
        for (int i = 0; i < split->length; ++i)
            EXPECT_EQ(TestSupport::toU16((*split)[i]), c.arguments[static_cast<std::size_t>(i)]);
        split->freeWithItems();
    }
    // The program's own arguments start with its name.
    auto* arguments = Runtime::getArguments();
    ASSERT_GE(arguments->length, 1);
    std::string program = TestSupport::toUtf8((*arguments)[0]);
    EXPECT_NE(program.find("test_nycore_system"), std::string::npos) << program;
    arguments->freeWithItems();
}

TEST(Runtime, ModuleEntryRegistersOnLoadAndUnregistersOnUnload)
{
    int count = Runtime::get$count();
    void* module = module_load("libtest_module.so");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(Runtime::get$count(), count + 1);
    Object* thing = Object::create(u"Test.ModuleThing"_str);
    ASSERT_NE(thing, nullptr);
    EXPECT_TRUE(thing->getType()->isOfType(u"NyCore.Object"_str)) << "the parent is bound late by name";
    delete thing;
    module_unload(module);
    EXPECT_EQ(Runtime::get$count(), count);
    EXPECT_EQ(Type::getType(u"Test.ModuleThing"_str), nullptr);
    EXPECT_NE(Type::getType(u"NyCore.Double"_str), nullptr) << "only the last shutdown tears the registry down";

    EXPECT_EQ(module_load("libtest_module_failing.so"), nullptr) << "a failing rdinit refuses the library";
    EXPECT_EQ(Type::getType(u"Test.ModuleThing"_str), nullptr);
    EXPECT_EQ(Runtime::get$count(), count);
    EXPECT_EQ(module_load("libno_such_module.so"), nullptr);
}
