// String constants share the layout of run-time strings and live in
// read-only memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "nycore/text/string.h"
#include "nycore/text/string_functions.h"

using NyCore::String;

namespace {

// The permissions ("r-xp", "rw-p", ...) of the mapping that holds `address`.
std::string permissionsOf(void const* address)
{
    auto target = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string range, permissions;
        fields >> range >> permissions;
        std::uintptr_t low = std::stoull(range.substr(0, range.find('-')), nullptr, 16);
        std::uintptr_t high = std::stoull(range.substr(range.find('-') + 1), nullptr, 16);
        if (target >= low && target < high)
            return permissions;
    }
    return "unmapped";
}

}

TEST(StringConstant, HasTheLayoutOfARunTimeString)
{
    String const* constant = u"Héllo"_str;
    String* made = string_from_cstr(u"Héllo");
    ASSERT_EQ(constant->count, 5);
    // Count, units and terminator are byte for byte the same block.
    EXPECT_EQ(std::memcmp(constant, made, 4 + 2 * 5 + 2), 0);
    EXPECT_EQ(reinterpret_cast<char const*>(constant->units()) - reinterpret_cast<char const*>(constant), 4);
    string_free(made);
}

TEST(StringConstant, LivesInReadOnlyMemory)
{
    std::string permissions = permissionsOf(u"constant text"_str);
    EXPECT_EQ(permissions.substr(0, 2), "r-") << permissions;
    EXPECT_EQ(permissionsOf(NyCore::Text::EmptyString).substr(0, 2), "r-");
}
