// Fonts through Xft: fontconfig resolves the face name, so that the names the
// system uses ("arial", "courier new") find installed metric-compatible faces.
#include "nycore/graphics/font.h"

#include "nycore/system/memory.h"
#include "nycore/system/x_connection.h"
#include "nycore/text/string_functions.h"
#include "nycore/graphics/x_gc.h"

namespace NyCore::Graphics {

TypeData Font::MetaData = {&Extenders::CountedObject::MetaData, nullptr, u"NyCore.Graphics.Font"_str, NoMethods,
    NoEvents, nullptr, sizeof(Font), 0, nullptr};

namespace {

XftFont* xftFont(void* handle)
{
    return static_cast<XftFont*>(handle);
}

int liveFonts = 0;
bool fontconfigUsed = false;

// Fontconfig holds its configuration until FcFini. That is safe only once no
// font is left and the X connection is closed (Xft lets go of its patterns
// then), so it happens at exit when both hold.
struct FontconfigRelease {
    ~FontconfigRelease()
    {
        if (fontconfigUsed && liveFonts == 0 && !System::XConnection::get$isOpen())
            FcFini();
    }
} fontconfigRelease;

}

Font* Font::create(String const* face, int size, int style)
{
    Display* display = System::XConnection::get$display();
    fontconfigUsed = true;
    char* family = string_to_utf8(face);
    XftFont* opened = XftFontOpen(display, System::XConnection::get$screen(), XFT_FAMILY, XftTypeString, family,
        XFT_PIXEL_SIZE, XftTypeDouble, static_cast<double>(size), XFT_WEIGHT, XftTypeInteger,
        (style & Bold) ? XFT_WEIGHT_BOLD : XFT_WEIGHT_MEDIUM, XFT_SLANT, XftTypeInteger,
        (style & Italic) ? XFT_SLANT_ITALIC : XFT_SLANT_ROMAN, nullptr);
    memory_free(family);
    if (!opened)
        return nullptr;
    ++liveFonts;
    auto* font = new Font();
    font->handle = opened;
    font->size = size;
    font->style = style;
    font->ascent = opened->ascent;
    font->descent = opened->descent;
    return font;
}

Font::~Font()
{
    --liveFonts;
    if (handle && System::XConnection::get$isOpen())
        XftFontClose(System::XConnection::get$display(), xftFont(handle));
}

String* Font::getFamilyName() const
{
    FcChar8* family = nullptr;
    if (FcPatternGetString(xftFont(handle)->pattern, FC_FAMILY, 0, &family) != FcResultMatch || !family)
        return String::create(nullptr, 0, 0);
    auto* text = reinterpret_cast<char const*>(family);
    int length = 0;
    while (text[length])
        ++length;
    return string_from_utf8(text, length);
}

int Font::measure(String const* s) const
{
    return s ? measureUnits(s->units(), s->count) : 0;
}

int Font::measureUnits(char16_t const* units, int count) const
{
    if (count <= 0)
        return 0;
    XGlyphInfo extents {};
    XftTextExtents16(System::XConnection::get$display(), xftFont(handle), reinterpret_cast<FcChar16 const*>(units),
        count, &extents);
    return extents.xOff;
}

}
