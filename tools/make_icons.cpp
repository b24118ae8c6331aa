// make_icons: writes an `.icons` file (a 24-bit BMP followed by the 20-byte
// "RIC1" trailer) from a pixel-art text source, so that every icon of the
// program lives in the repository as text that can be read and edited.
//
// Source format, one statement per line ('#' starts a comment line):
//   size <width> <height>        icon size in pixels (first)
//   mask on|off                  whether the strip carries a transparency mask
//   color <char> <RRGGBB>        a palette letter and its colour (hex)
//   transparent <char>           a letter for see-through pixels (mask on only)
//   icon <name>                  starts an icon: <height> rows of <width> letters follow
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Icon {
    std::string name;
    std::vector<std::string> rows;
    int line;
};

struct Source {
    int width = 0;
    int height = 0;
    bool mask = false;
    std::map<char, std::uint32_t> colors;
    char transparent = 0;
    std::vector<Icon> icons;
};

struct Failure {
    std::string message;
};

[[noreturn]] void fail(std::string const& file, int line, std::string const& message)
{
    throw Failure{file + ":" + std::to_string(line) + ": " + message};
}

std::uint32_t parseColor(std::string const& file, int line, std::string text)
{
    if (text.size() > 0 && text[0] == '#')
        text.erase(0, 1);
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        fail(file, line, "a colour is six hexadecimal digits RRGGBB, not \"" + text + "\"");
    return static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
}

Source parse(std::string const& file, std::istream& in)
{
    Source source;
    std::string text;
    int line = 0;
    Icon* open = nullptr;
    while (std::getline(in, text)) {
        line++;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (open && static_cast<int>(open->rows.size()) < source.height) {
            if (static_cast<int>(text.size()) != source.width)
                fail(file, line, "icon \"" + open->name + "\": a row must be " + std::to_string(source.width) + " letters wide");
            for (char c : text)
                if (!source.colors.count(c) && c != source.transparent)
                    fail(file, line, std::string("letter '") + c + "' is not in the palette");
            open->rows.push_back(text);
            continue;
        }
        open = nullptr;
        std::istringstream words(text);
        std::string keyword;
        if (!(words >> keyword) || keyword[0] == '#')
            continue;
        if (keyword == "size") {
            if (!(words >> source.width >> source.height) || source.width <= 0 || source.height <= 0)
                fail(file, line, "size needs a positive width and height");
        } else if (keyword == "mask") {
            std::string value;
            words >> value;
            if (value != "on" && value != "off")
                fail(file, line, "mask is on or off");
            source.mask = value == "on";
        } else if (keyword == "color") {
            std::string letter, value;
            if (!(words >> letter >> value) || letter.size() != 1)
                fail(file, line, "color needs a single letter and a colour");
            source.colors[letter[0]] = parseColor(file, line, value);
        } else if (keyword == "transparent") {
            std::string letter;
            if (!(words >> letter) || letter.size() != 1)
                fail(file, line, "transparent needs a single letter");
            source.transparent = letter[0];
        } else if (keyword == "icon") {
            if (source.width == 0)
                fail(file, line, "size must come before the first icon");
            std::string name;
            words >> name;
            source.icons.push_back(Icon{name, {}, line});
            open = &source.icons.back();
        } else {
            fail(file, line, "unknown statement \"" + keyword + "\"");
        }
    }
    if (source.icons.empty())
        fail(file, line, "the source holds no icon");
    for (Icon const& icon : source.icons)
        if (static_cast<int>(icon.rows.size()) != source.height)
            fail(file, icon.line, "icon \"" + icon.name + "\" has fewer than " + std::to_string(source.height) + " rows");
    if (source.transparent && !source.mask)
        fail(file, line, "transparent pixels need \"mask on\"");
    return source;
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// The strip's picture, top row first: icons above, their masks below
// (white where an icon is see-through, black where it is opaque).
std::vector<std::uint32_t> stripPixels(Source const& source, int stripWidth, int stripHeight)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(stripWidth) * stripHeight, 0);
    for (std::size_t i = 0; i < source.icons.size(); i++) {
        for (int y = 0; y < source.height; y++) {
            for (int x = 0; x < source.width; x++) {
                char letter = source.icons[i].rows[y][x];
                bool clear = letter == source.transparent;
                std::size_t column = i * source.width + x;
                pixels[y * stripWidth + column] = clear ? 0 : source.colors.at(letter);
                if (source.mask)
                    pixels[(y + source.height) * stripWidth + column] = clear ? 0xFFFFFF : 0;
            }
        }
    }
    return pixels;
}

std::vector<std::uint8_t> iconFile(Source const& source)
{
    int stripWidth = source.width * static_cast<int>(source.icons.size());
    int stripHeight = source.mask ? 2 * source.height : source.height;
    std::vector<std::uint32_t> pixels = stripPixels(source, stripWidth, stripHeight);
    std::uint32_t stride = (static_cast<std::uint32_t>(stripWidth) * 3 + 3) & ~3u;
    std::uint32_t imageSize = stride * stripHeight;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 14 + 40 + imageSize);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);
    put32(out, stripWidth);
    put32(out, stripHeight);
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, imageSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = stripHeight - 1; y >= 0; y--) {
        std::size_t start = out.size();
        for (int x = 0; x < stripWidth; x++) {
            std::uint32_t color = pixels[static_cast<std::size_t>(y) * stripWidth + x];
            out.push_back(static_cast<std::uint8_t>(color));
            out.push_back(static_cast<std::uint8_t>(color >> 8));
            out.push_back(static_cast<std::uint8_t>(color >> 16));
        }
        out.resize(start + stride, 0);
    }
    put32(out, source.width);
    put32(out, source.height);
    put32(out, static_cast<std::uint32_t>(source.icons.size()));
    put32(out, source.mask ? 0 : 1);
    put32(out, 0x31434952);
    return out;
}

}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_icons <source.txt> <output.icons>\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "make_icons: cannot read " << argv[1] << "\n";
        return 1;
    }
    try {
        std::vector<std::uint8_t> bytes = iconFile(parse(argv[1], in));
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<char const*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << "make_icons: cannot write " << argv[2] << "\n";
            return 1;
        }
    } catch (Failure const& failure) {
        std::cerr << "make_icons: " << failure.message << "\n";
        return 1;
    }
    return 0;
}
