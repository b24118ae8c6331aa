// Reads an icon file: the trailer first (from the file's end), then the BMP
// part from the start, and checks that the picture fits the trailer's geometry.
#include "nycore/graphics/icon_file.h"

#include "nycore/io/file.h"

using namespace NyCore::Graphics;

namespace {

std::uint32_t read32(std::uint8_t const* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

IconFileStatus readOpenFile(NyCore::IO::File* handle, IconFile* file)
{
    std::uint32_t size = file_get_size(handle);
    if (size == NyCore::IO::FileFailure || size < IconFileTrailerSize)
        return IconFileStatus::NoTrailer;
    std::uint8_t trailer[IconFileTrailerSize];
    if (file_seek(handle, size - IconFileTrailerSize, 0) < 0 ||
        file_read(handle, trailer, IconFileTrailerSize) != IconFileTrailerSize)
        return IconFileStatus::NoTrailer;
    if (read32(trailer + 16) != IconFileMagic)
        return IconFileStatus::NoTrailer;

    IconInfo info{static_cast<std::int32_t>(read32(trailer)), static_cast<std::int32_t>(read32(trailer + 4)),
        static_cast<std::int32_t>(read32(trailer + 8)), read32(trailer + 12)};
    if (file_seek(handle, 0, 0) != 0)
        return IconFileStatus::NoTrailer;
    file->bitmapStatus = pixmap_load_winbmp(handle, size - IconFileTrailerSize, &file->image);
    if (file->bitmapStatus != BmpStatus::Ok)
        return IconFileStatus::BadBitmap;

    bool positive = info.width > 0 && info.height > 0 && info.count > 0;
    if (!positive || static_cast<std::int64_t>(info.width) * info.count != file->image.width ||
        icon_strip_bitmap_height(&info) != file->image.height) {
        bitmap_image_destroy(&file->image);
        return IconFileStatus::WrongGeometry;
    }
    file->info = info;
    return IconFileStatus::Ok;
}

}

IconFileStatus icon_file_read(NyCore::String const* path, IconFile* file)
{
    *file = IconFile{};
    NyCore::IO::File handle{file_open(path, NyCore::IO::FileRead)};
    if (handle.handle == NyCore::IO::NoFile)
        return IconFileStatus::CannotOpen;
    IconFileStatus status = readOpenFile(&handle, file);
    file_close(&handle);
    return status;
}

void icon_file_destroy(IconFile* file)
{
    bitmap_image_destroy(&file->image);
    file->info = IconInfo{};
}

std::int64_t icon_strip_bitmap_height(IconInfo const* info)
{
    return (info->flags & IconsNoMask) ? info->height : 2 * static_cast<std::int64_t>(info->height);
}
