// Picture files for pages and other drawings that show whatever picture a
// file holds: a BMP or PNG file read whole and turned into a pixmap of the
// screen's format. Unlike pixmap_load, a missing or damaged file is a result.
#pragma once

#include "nycore/graphics/bmp_reader.h"
#include "nycore/graphics/pixmap.h"
#include "nycore/text/string.h"

// Decodes the BMP or PNG file at path (chosen by its first bytes) into image;
// false, with image left zero, when the file cannot be read or decoded.
bool picture_decode_file(NyCore::String const* path, NyCore::Graphics::BitmapImage* image);
// The picture of a file as a new pixmap (destroy it with pixmap_destroy);
// false, with the pixmap left zero, when it cannot be read. Needs the X display.
bool pixmap_load_picture(NyCore::Graphics::PixmapSurface* pixmap, NyCore::String const* path);
