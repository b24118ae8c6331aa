// Tests of icon files and strips: damaged files reported, and the three
// transfers drawing make_icons' icons pixel-exactly with their masks (which
// shows the tool and the reader agree).
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "nycore/graphics/icon_strip.h"
#include "nycore/graphics/pixmap.h"
#include "tests/support/bmp_builder.h"
#include "tests/support/canvas.h"
#include "tests/support/temp_folder.h"
#include "tests/support/child_process.h"
#include "tests/support/strings.h"
#include "tests/support/xvfb.h"

using namespace NyCore::Graphics;
using TestSupport::Canvas;

namespace {

constexpr std::uint32_t Red = 0xFF0000;
constexpr std::uint32_t Blue = 0x0000FF;
constexpr std::uint32_t Green = 0x00FF00;
constexpr std::uint32_t Yellow = 0xFFFF00;
constexpr std::uint32_t Black = 0x000000;
constexpr std::uint32_t White = 0xFFFFFF;

// Two 4 × 4 icons with masks: a red bar over see-through rows, and a blue cup.
char const* const MaskedSource = R"(# test strip
size 4 4
mask on
transparent .
color r FF0000
color b 0000FF
icon bar
rrrr
rrrr
....
....
icon cup
b..b
b..b
b..b
bbbb
)";

// One 3 × 2 icon without a mask.
char const* const PlainSource = R"(size 3 2
mask off
color y FFFF00
color k 000000
icon checker
yky
kyk
)";


std::string trailer(std::uint32_t width, std::uint32_t height, std::uint32_t count, std::uint32_t flags, std::uint32_t magic)
{
    std::string bytes;
    for (std::uint32_t field : {width, height, count, flags, magic})
        TestSupport::put32(bytes, field);
    return bytes;
}

IconFileStatus readIconFile(std::string const& path, IconFile* file)
{
    return icon_file_read(TestSupport::OwnedString(std::u16string(path.begin(), path.end())), file);
}

// Loads a strip that make_icons makes from a source text.
void loadStrip(TestSupport::TempFolder const& folder, std::string const& name, std::string const& source, IconStrip* strip)
{
    TestSupport::writeBytes(folder.at(name + ".txt"), source);
    TestSupport::ChildResult run = TestSupport::runProgram(
        {TestSupport::programBesideTests("make_icons"), folder.at(name + ".txt"), folder.at(name + ".icons")}, "");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    icons_load(strip, TestSupport::OwnedString(folder.string(name + ".icons")));
}

class IconStripTest : public TestSupport::WindowTest {};

void fill(Canvas& canvas, std::uint32_t color)
{
    gc_set_background(canvas.gc(), color);
    gc_rect_fill(canvas.gc(), 0, 0, canvas.width(), canvas.height());
}

}

TEST(IconFileTest, ReportsDamagedIconFiles)
{
    std::string const picture = TestSupport::buildBmp({24, 2, 1, {}, {Red, Blue}, {}});
    // A name, the file's bytes, the status, and the status of its picture.
    std::vector<std::tuple<char const*, std::string, IconFileStatus, BmpStatus>> const cases = {
        {"a whole file", picture + trailer(1, 1, 2, 1, IconFileMagic), IconFileStatus::Ok, BmpStatus::Ok},
        {"shorter than a trailer", "RIC1", IconFileStatus::NoTrailer, BmpStatus::Ok},
        {"wrong magic", picture + trailer(1, 1, 2, 1, 0x32434952), IconFileStatus::NoTrailer, BmpStatus::Ok},
        {"a cut picture", picture.substr(0, 40) + trailer(1, 1, 2, 1, IconFileMagic), IconFileStatus::BadBitmap, BmpStatus::Truncated},
        {"count does not fit", picture + trailer(1, 1, 3, 1, IconFileMagic), IconFileStatus::WrongGeometry, BmpStatus::Ok},
        {"mask row missing", picture + trailer(1, 1, 2, 0, IconFileMagic), IconFileStatus::WrongGeometry, BmpStatus::Ok},
        {"negative count", picture + trailer(1, 1, 0xFFFFFFFE, 1, IconFileMagic), IconFileStatus::WrongGeometry, BmpStatus::Ok},
    };
    TestSupport::TempFolder folder;
    for (auto const& [name, bytes, expected, bitmap] : cases) {
        SCOPED_TRACE(name);
        TestSupport::writeBytes(folder.at("strip.icons"), bytes);
        IconFile file;
        EXPECT_EQ(readIconFile(folder.at("strip.icons"), &file), expected);
        EXPECT_EQ(file.bitmapStatus, bitmap);
        EXPECT_EQ(file.image.pixels != nullptr, expected == IconFileStatus::Ok);
        icon_file_destroy(&file);
    }
    IconFile file;
    EXPECT_EQ(readIconFile(folder.at("missing.icons"), &file), IconFileStatus::CannotOpen);
}

TEST(IconFileTest, FatalReportsNameTheFile)
{
    TestSupport::TempFolder folder;
    TestSupport::writeBytes(folder.at("empty.icons"), trailer(1, 1, 1, 1, IconFileMagic));
    TestSupport::writeBytes(folder.at("text.bmp"), "just some text");
    // The file, whether it is loaded as a picture, and the error after its name.
    std::vector<std::tuple<std::string, bool, std::string>> const cases = {
        {"nothere.icons", false, "Error.IO.InvalidFileName"},
        {"empty.icons", false, "Error.Graphics.InvalidFile"},
        {"text.bmp", true, "Error.Graphics.InvalidFile"},
    };
    for (auto const& [file, asPicture, error] : cases) {
        SCOPED_TRACE(file);
        TestSupport::expectFatal(
            [&] {
                NyCore::String* path = folder.string(file);
                if (asPicture) {
                    PixmapSurface pixmap;
                    pixmap_load(&pixmap, path);
                } else {
                    IconStrip strip;
                    icons_load(&strip, path);
                }
            },
            "name = " + folder.at(file) + "\n" + error);
    }
    TestSupport::expectFatal(
        [] {
            IconStrip strip;
            icons_construct(&strip, 4, 0, 2, 0);
        },
        "Error.InvalidParamiter");
}

TEST_F(IconStripTest, MaskedIconsBlendByTheThreeTransfers)
{
    TestSupport::TempFolder folder;
    IconStrip strip;
    loadStrip(folder, "masked", MaskedSource, &strip);
    IconInfo info;
    icons_get_info(&strip, &info);
    EXPECT_EQ(std::tie(info.width, info.height, info.count, info.flags), std::tuple(4, 4, 2, 0u));

    Canvas canvas(12, 12);
    // The cup (the last icon) at (2, 2); its inside is see-through.
    // Opacity and the cup's colour; opacity 500 gives the grey 0x7F7F7F: ((D ^ S) & P) ^ S per bit.
    std::pair<int, std::uint32_t> const cases[] = {{999, Blue}, {0, Green}, {500, 0x007F80}};
    for (auto const& [opacity, cup] : cases) {
        fill(canvas, Green);
        gc_copy_icon(canvas.gc(), 2, 2, &strip, 1, opacity);
        canvas.expectPixels("cup at opacity " + std::to_string(opacity),
            {{2, 2, cup}, {5, 2, cup}, {3, 5, cup}, {3, 2, Green}, {4, 4, Green}, {1, 2, Green}, {6, 5, Green}, {2, 6, Green}});
    }

    fill(canvas, Green);
    gc_copy_icon(canvas.gc(), 0, 0, &strip, 0, IconOpaque);
    canvas.expectPixels("bar", {{0, 0, Red}, {3, 1, Red}, {0, 2, Green}, {3, 3, Green}, {4, 0, Green}});

    fill(canvas, Green);
    gc_stretch_icon(canvas.gc(), 0, 0, 8, 8, &strip, 1, IconOpaque);
    canvas.expectPixels("cup stretched twice",
        {{0, 0, Blue}, {1, 1, Blue}, {2, 0, Green}, {5, 5, Green}, {7, 7, Blue}, {4, 7, Blue}, {6, 0, Blue}, {8, 8, Green}});

    TestSupport::expectFatal([&] { gc_copy_icon(canvas.gc(), 0, 0, &strip, 2, IconOpaque); }, "Error.InvalidIndex");
    TestSupport::expectFatal([&] { gc_stretch_icon(canvas.gc(), 0, 0, 8, 8, &strip, -1, IconOpaque); },
                             "Error.InvalidIndex");
    icons_destroy(&strip);
}

TEST_F(IconStripTest, PlainIconsBlendWithoutMask)
{
    TestSupport::TempFolder folder;
    IconStrip strip;
    loadStrip(folder, "plain", PlainSource, &strip);
    Canvas canvas(6, 4);
    // Opacity and what yellow and black become: S ^ (P & (D ^ S)) with P = 0x7F7F7F at opacity 500.
    std::tuple<int, std::uint32_t, std::uint32_t> const cases[] = {{999, Yellow, Black}, {0, Green, Green}, {500, 0x80FF00, 0x007F00}};
    for (auto const& [opacity, yellow, black] : cases) {
        fill(canvas, Green);
        gc_copy_icon(canvas.gc(), 1, 1, &strip, 0, opacity);
        canvas.expectPixels("checker at opacity " + std::to_string(opacity),
            {{1, 1, yellow}, {2, 1, black}, {3, 2, black}, {2, 2, yellow}, {0, 0, Green}, {4, 1, Green}, {1, 3, Green}});
    }
    fill(canvas, Green);
    gc_stretch_icon(canvas.gc(), 0, 0, 6, 4, &strip, 0, IconOpaque);
    canvas.expectPixels("checker stretched", {{0, 0, Yellow}, {1, 1, Yellow}, {2, 0, Black}, {5, 3, Black}, {3, 3, Yellow}});
    icons_destroy(&strip);
}

TEST_F(IconStripTest, ConstructedStripsAreDrawnIntoThroughTheirContext)
{
    IconStrip strip;
    icons_construct(&strip, 3, 3, 2, 0);
    Canvas canvas(8, 8);
    fill(canvas, Green);
    gc_copy_icon(canvas.gc(), 0, 0, &strip, 1, IconOpaque);
    canvas.expectPixels("an empty icon shows nothing", {{0, 0, Green}, {2, 2, Green}});

    // Icon 1: a red square whose mask is opaque only in its top-left 2 × 2.
    gc_set_background(&strip.gc, Red);
    gc_rect_fill(&strip.gc, 3, 0, 3, 3);
    gc_set_background(&strip.gc, Black);
    gc_rect_fill(&strip.gc, 3, 3, 2, 2);
    gc_copy_icon(canvas.gc(), 1, 1, &strip, 1, IconOpaque);
    canvas.expectPixels("drawn icon", {{1, 1, Red}, {2, 2, Red}, {3, 1, Green}, {1, 3, Green}, {0, 0, Green}});
    icons_destroy(&strip);
}

TEST_F(IconStripTest, PixmapsLoadBmpFiles)
{
    TestSupport::TempFolder folder;
    TestSupport::writeBytes(folder.at("p.bmp"),
        TestSupport::buildBmp({4, 3, 2, {Red, Green, Blue}, {0, 1, 2, 2, 1, 0}, {}}));
    PixmapSurface pixmap;
    pixmap_load(&pixmap, TestSupport::OwnedString(folder.string("p.bmp")));
    PixmapInfo info;
    pixmap_get_info(&pixmap, &info);
    EXPECT_EQ(std::tie(info.width, info.height), std::tuple(3, 2));
    EXPECT_EQ(TestSupport::readPixels(pixmap.gc.surface, 0, 0, 3, 2),
              (std::vector<std::uint32_t>{Red, Green, Blue, Blue, Green, Red}));
    pixmap_destroy(&pixmap);

    pixmap_construct(&pixmap, 5, 4);
    pixmap_get_info(&pixmap, &info);
    EXPECT_EQ(std::tie(info.width, info.height), std::tuple(5, 4));
    EXPECT_EQ(TestSupport::pixelAt(pixmap.gc.surface, 4, 3), White);
    pixmap_destroy(&pixmap);
}
