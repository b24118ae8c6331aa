// Pixmaps on X pixmaps of the screen's depth; a loaded BMP is converted to the
// screen's format once, when it is read.
#include "nycore/graphics/pixmap.h"

#include "nycore/graphics/bmp_reader.h"
#include "nycore/graphics/x_surface.h"
#include "nycore/io/file.h"
#include "nycore/system/console.h"
#include "nycore/system/error.h"
#include "nycore/system/x_connection.h"

namespace G = NyCore::Graphics;
using NyCore::System::XConnection;

namespace {

constexpr char const* SourceName = "graphics/pixmap.cpp";

[[noreturn]] void reportFile(NyCore::String const* path, ErrorCode code, int line)
{
    print(u"name = %s\n", path ? path->units() : u"");
    error_throw_dbg(code, SourceName, line);
}

void adopt(G::PixmapSurface* pixmap, ::Pixmap surface, int width, int height)
{
    *pixmap = G::PixmapSurface{};
    pixmap->width = width;
    pixmap->height = height;
    gc_construct(&pixmap->gc, surface);
}

}

void pixmap_load(G::PixmapSurface* pixmap, NyCore::String const* path)
{
    NyCore::IO::File file{file_open(path, NyCore::IO::FileRead)};
    if (file.handle == NyCore::IO::NoFile)
        reportFile(path, ERROR_IO_BADNAME, __LINE__);
    std::uint32_t size = file_get_size(&file);
    G::BitmapImage image{};
    G::BmpStatus status = size == NyCore::IO::FileFailure ? G::BmpStatus::Truncated : pixmap_load_winbmp(&file, size, &image);
    file_close(&file);
    if (status != G::BmpStatus::Ok)
        reportFile(path, ERROR_GRFX_BADFILE, __LINE__);
    ::Pixmap surface = G::x_surface_from_image(&image);
    adopt(pixmap, surface, image.width, image.height);
    bitmap_image_destroy(&image);
}

void pixmap_construct(G::PixmapSurface* pixmap, int width, int height)
{
    if (width < 1 || height < 1 || width > 32767 || height > 32767)
        ERROR_THROW(ERROR_BADPARA, SourceName);
    ::Pixmap surface = G::x_surface_create(width, height);
    G::x_surface_fill(surface, 0, 0, width, height, 0xFFFFFF);
    adopt(pixmap, surface, width, height);
}

void pixmap_get_info(G::PixmapSurface const* pixmap, G::PixmapInfo* out)
{
    *out = G::PixmapInfo{pixmap->width, pixmap->height, XConnection::get$depth()};
}

void pixmap_destroy(G::PixmapSurface* pixmap)
{
    NyCore::Graphics::NativeDrawable surface = pixmap->gc.surface;
    gc_destroy(&pixmap->gc);
    if (surface && XConnection::get$isOpen())
        XFreePixmap(XConnection::get$display(), static_cast<::Pixmap>(surface));
    *pixmap = G::PixmapSurface{};
}
