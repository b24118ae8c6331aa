// Pixels read back with XGetImage and written as PNG with libpng.
#include "nycore/graphics/pixel_io.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "nycore/system/memory.h"
#include "nycore/system/x_connection.h"
#include "nycore/text/string_functions.h"
#include "nycore/graphics/x_gc.h"

using NyCore::System::XConnection;

void pixels_read(NyCore::Graphics::NativeDrawable drawable, int x, int y, int w, int h, std::uint32_t* out)
{
    Display* display = XConnection::get$display();
    XImage* image = XGetImage(display, drawable, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes,
        ZPixmap);
    if (!image)
        return;
    Visual* visual = XConnection::get$visual();
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column)
            out[row * w + column] = NyCore::Graphics::x_color_of(visual, XGetPixel(image, column, row));
    XDestroyImage(image);
}

bool pixels_save_png(std::uint32_t const* pixels, int w, int h, NyCore::String const* path)
{
    char* name = string_to_utf8(path);
    FILE* file = std::fopen(name, "wb");
    memory_free(name);
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(static_cast<std::size_t>(w) * 3);
    bool written = false;
    if (info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
            PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                std::uint32_t pixel = pixels[y * w + x];
                row[x * 3] = static_cast<png_byte>(pixel >> 16);
                row[x * 3 + 1] = static_cast<png_byte>(pixel >> 8);
                row[x * 3 + 2] = static_cast<png_byte>(pixel);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return std::fclose(file) == 0 && written;
}
