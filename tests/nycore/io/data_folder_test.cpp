// Data files: which folder a relative name is found in when it lies in
// several (current directory, beside the program, the installed data folder
// seen from the program), absolute and missing names, and the search order.
#include <gtest/gtest.h>

#include <ftw.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "nycore/io/data_folder.h"
#include "tests/support/strings.h"
#include "tests/support/temp_folder.h"

using TestSupport::OwnedString;
using TestSupport::TempFolder;
using TestSupport::writeBytes;

namespace {

std::string realPath(std::string const& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : "<" + path + " missing>";
}

int removeEntry(char const* name, struct stat const*, int, struct FTW*)
{
    return ::remove(name);
}

std::u16string u16(std::string const& text)
{
    return std::u16string(text.begin(), text.end());
}

// A folder of this test's own under a data folder (made when missing),
// removed afterwards with all it holds. Folders it had to make on the way stay
// (they are in the build tree), so that tests running at once never remove
// each other's.
struct DataArea {
    explicit DataArea(std::string base) : top(base.substr(0, base.find_last_not_of('/') + 1))
    {
        for (std::size_t at = 1; at != std::string::npos;) {
            at = top.find('/', at + 1);
            ::mkdir(top.substr(0, at).c_str(), 0700);
        }
        own = top + "/data_folder_test_" + std::to_string(::getpid());
        ::mkdir(own.c_str(), 0700);
    }
    ~DataArea() { ::nftw(own.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS); }

    std::string top;
    std::string own;
};

// Runs in a fresh current directory, going back to the old one afterwards.
class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char cwd[PATH_MAX];
        ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
        previous = cwd;
        ASSERT_EQ(::chdir(current.path.c_str()), 0);
    }
    void TearDown() override { ASSERT_EQ(::chdir(previous.c_str()), 0); }

    static std::string folder(int index) { return OwnedString(data_folder(index)).utf8(); }

    TempFolder current;
    std::string previous;
};

TEST_F(DataFolderTest, FoldersAreSearchedInOrder)
{
    std::string program = OwnedString(data_program_folder()).utf8();
    std::string exe = realPath("/proc/self/exe");
    EXPECT_EQ(program, exe.substr(0, exe.rfind('/') + 1));

    EXPECT_EQ(folder(0), "") << "the current directory comes first, names stay relative";
    EXPECT_EQ(folder(1), program);
    std::string relocated = folder(2);
    EXPECT_EQ(relocated.back(), '/');
    EXPECT_EQ(relocated.rfind(program.substr(0, program.rfind('/', program.size() - 2)), 0), 0u)
        << relocated << " is found from the program's own prefix";
    EXPECT_EQ(relocated.find(".."), std::string::npos) << relocated;
    {
        DataArea area(relocated);
        EXPECT_EQ(realPath(relocated), realPath(program + DATA_FROM_PROGRAM));
    }
    EXPECT_EQ(folder(3), std::string(INSTALLED_DATA_DIR) + "/");
    EXPECT_EQ(data_folder(4), nullptr);
    EXPECT_EQ(data_folder(-1), nullptr);
}

TEST_F(DataFolderTest, FirstFolderHoldingTheFileWins)
{
    enum Where { Current = 1, Program = 2, Installed = 4 };
    struct Case {
        char const* name;
        int holders;
        int winner;  // 0: none holds it
    };
    Case const cases[] = {
        {"current only", Current, Current},
        {"program only", Program, Program},
        {"installed only", Installed, Installed},
        {"current before program", Current | Program, Current},
        {"current before installed", Current | Installed, Current},
        {"program before installed", Program | Installed, Program},
        {"all three", Current | Program | Installed, Current},
        {"nowhere", 0, 0},
    };
    DataArea beside(folder(1));
    DataArea installed(folder(2));
    std::string own = beside.own.substr(beside.own.rfind('/') + 1);
    ASSERT_EQ(::mkdir(own.c_str(), 0700), 0);
    auto base = [&](int where) {
        return where == Current ? std::string() : (where == Program ? beside : installed).top + "/";
    };
    int n = 0;
    for (Case const& c : cases) {
        // Each case a file of its own, one folder down as "forms/x.form" is.
        std::string name = own + "/case" + std::to_string(n++) + ".txt";
        for (int where : {Current, Program, Installed})
            if (c.holders & where)
                writeBytes(base(where) + name, c.name);
        std::string expected = c.winner ? base(c.winner) + name : name;
        EXPECT_EQ(OwnedString(data_file_find(OwnedString(u16(name)))).utf8(), expected) << c.name;
        // A name written with '\' finds the same file.
        std::u16string backslashed = u16(name);
        backslashed[own.size()] = u'\\';
        std::string found = OwnedString(data_file_find(OwnedString(backslashed))).utf8();
        EXPECT_EQ(found, c.winner ? expected : TestSupport::toUtf8(backslashed)) << c.name << " with '\\'";
    }
}

TEST_F(DataFolderTest, AbsoluteEmptyAndNullNamesComeBackAsGiven)
{
    writeBytes(current.at("here.txt"), "x");
    for (std::u16string name : {std::u16string(u"/no/such/file.form"), u16(current.at("here.txt")),
                                std::u16string(u"")})
        EXPECT_EQ(OwnedString(data_file_find(OwnedString(name))).text(), name);
    EXPECT_EQ(data_file_find(nullptr), nullptr);
    // A folder of the name is not a data file.
    ASSERT_EQ(::mkdir("forms", 0700), 0);
    EXPECT_EQ(OwnedString(data_file_find(OwnedString(u"forms"))).utf8(), "forms");
}

}
