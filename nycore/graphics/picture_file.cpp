// A picture file read into memory, decoded by the reader its signature
// names, and converted once into a screen pixmap.
#include "nycore/graphics/picture_file.h"

#include <vector>

#include "nycore/graphics/png_reader.h"
#include "nycore/graphics/x_surface.h"
#include "nycore/io/file.h"

namespace G = NyCore::Graphics;

bool picture_decode_file(NyCore::String const* path, G::BitmapImage* image)
{
    *image = G::BitmapImage{};
    NyCore::IO::File file{file_open(path, NyCore::IO::FileRead)};
    if (file.handle == NyCore::IO::NoFile)
        return false;
    std::uint32_t const size = file_get_size(&file);
    std::vector<std::uint8_t> data(size == NyCore::IO::FileFailure ? 0 : size);
    bool const read = !data.empty() && file_read(&file, data.data(), size) == size;
    file_close(&file);
    if (!read)
        return false;
    if (png_is_signature(data.data(), data.size()))
        return png_decode(data.data(), data.size(), image);
    return bmp_decode(data.data(), data.size(), image) == G::BmpStatus::Ok;
}

bool pixmap_load_picture(G::PixmapSurface* pixmap, NyCore::String const* path)
{
    *pixmap = G::PixmapSurface{};
    G::BitmapImage image{};
    if (!picture_decode_file(path, &image))
        return false;
    ::Pixmap surface = G::x_surface_from_image(&image);
    pixmap->width = image.width;
    pixmap->height = image.height;
    gc_construct(&pixmap->gc, surface);
    bitmap_image_destroy(&image);
    return true;
}
