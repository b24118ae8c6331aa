// make_app_icon OUT.png [SIZE]: draws the desktop icon of Vexadrome (a lit
// wireframe surface on a dark rounded tile) as an RGBA PNG, SIZE pixels square
// (48 unless told), so that the picture is made from this code at build time.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Point {
    double x, y;
};

struct Colour {
    double r, g, b;
};

struct Segment {
    Point a, b;
    Colour colour;
};

// Everything is laid out on a 48-unit square and scaled to the output size.
constexpr double Units = 48;
constexpr double Corner = 9;
constexpr double LineWidth = 1.3;
constexpr int GridLines = 8;
constexpr int StepsPerLine = 24;

Colour mix(Colour a, Colour b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The surface z(u, v) over [-1, 1]², seen from above one corner.
Point project(double u, double v)
{
    double z = 0.45 * std::sin(2.4 * u) * std::cos(2.0 * v);
    return {24 + 15 * (u - v), 25 + 7.5 * (u + v) - 11 * z};
}

std::vector<Segment> surfaceLines()
{
    Colour back{0.37, 0.82, 1.0};
    Colour front{1.0, 0.69, 0.23};
    std::vector<Segment> lines;
    for (int line = 0; line < GridLines; ++line) {
        double fixed = -1 + 2.0 * line / (GridLines - 1);
        for (int step = 0; step < StepsPerLine; ++step) {
            double s0 = -1 + 2.0 * step / StepsPerLine;
            double s1 = -1 + 2.0 * (step + 1) / StepsPerLine;
            // Depth grows towards the viewer (u + v large), coloured back to front.
            double depth = (fixed + (s0 + s1) / 2 + 2) / 4;
            Colour colour = mix(back, front, depth);
            lines.push_back({project(fixed, s0), project(fixed, s1), colour});
            lines.push_back({project(s0, fixed), project(s1, fixed), colour});
        }
    }
    return lines;
}

double distanceToSegment(Point p, Segment const& s)
{
    double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
    double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? std::clamp(((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / length2, 0.0, 1.0) : 0;
    double ex = s.a.x + t * dx - p.x, ey = s.a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

bool insideTile(Point p)
{
    double cx = std::clamp(p.x, Corner, Units - Corner);
    double cy = std::clamp(p.y, Corner, Units - Corner);
    double dx = p.x - cx, dy = p.y - cy;
    return p.x >= 0 && p.y >= 0 && p.x < Units && p.y < Units && dx * dx + dy * dy <= Corner * Corner;
}

// One sample: transparent outside the tile, a line's colour on a line (the
// front-most drawn last wins), the tile's vertical gradient elsewhere.
bool sample(Point p, std::vector<Segment> const& lines, Colour* out)
{
    if (!insideTile(p))
        return false;
    *out = mix(Colour{0.13, 0.25, 0.47}, Colour{0.05, 0.10, 0.22}, p.y / Units);
    for (Segment const& line : lines)
        if (distanceToSegment(p, line) <= LineWidth / 2)
            *out = line.colour;
    return true;
}

// RGBA rows, each pixel the average of 4 × 4 samples.
std::vector<std::uint8_t> draw(int size)
{
    constexpr int Sub = 4;
    std::vector<Segment> lines = surfaceLines();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size) * size * 4);
    double scale = Units / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Colour sum{0, 0, 0};
            int covered = 0;
            for (int sy = 0; sy < Sub; ++sy)
                for (int sx = 0; sx < Sub; ++sx) {
                    Point p{(x + (sx + 0.5) / Sub) * scale, (y + (sy + 0.5) / Sub) * scale};
                    Colour c;
                    if (sample(p, lines, &c)) {
                        sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                        ++covered;
                    }
                }
            std::uint8_t* out = &pixels[(static_cast<std::size_t>(y) * size + x) * 4];
            // Colour is the covered samples' average; alpha is the coverage.
            double n = covered > 0 ? covered : 1;
            out[0] = static_cast<std::uint8_t>(std::lround(sum.r / n * 255));
            out[1] = static_cast<std::uint8_t>(std::lround(sum.g / n * 255));
            out[2] = static_cast<std::uint8_t>(std::lround(sum.b / n * 255));
            out[3] = static_cast<std::uint8_t>(std::lround(255.0 * covered / (Sub * Sub)));
        }
    return pixels;
}

bool writePng(char const* path, int size, std::vector<std::uint8_t> const& pixels)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size);
    image.height = static_cast<png_uint_32>(size);
    image.format = PNG_FORMAT_RGBA;
    bool written = png_image_write_to_file(&image, path, 0, pixels.data(), 0, nullptr) != 0;
    if (!written)
        std::fprintf(stderr, "make_app_icon: %s: %s\n", path, image.message);
    return written;
}

}

int main(int argc, char** argv)
{
    int size = argc > 2 ? std::atoi(argv[2]) : 48;
    if (argc < 2 || argc > 3 || size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: make_app_icon OUT.png [SIZE (16 to 1024)]\n");
        return 2;
    }
    return writePng(argv[1], size, draw(size)) ? 0 : 1;
}
