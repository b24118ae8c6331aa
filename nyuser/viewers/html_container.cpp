// The layout engine's callbacks on the core's drawing context. Fonts are the
// core's Xft fonts; text arrives as UTF-8 and is drawn as UTF-16; pictures are
// read once per page from BMP or PNG files into pixmaps.
#include "nyuser/viewers/html_container.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <utility>

#include "nycore/graphics/font.h"
#include "nycore/graphics/gc_text.h"
#include "nycore/graphics/picture_file.h"
#include "nycore/io/file.h"
#include "nycore/io/filename.h"
#include "nycore/system/memory.h"
#include "nycore/system/owned.h"
#include "nycore/text/string_functions.h"

namespace NyUser::Viewers {

namespace {

namespace G = NyCore::Graphics;
using OwnedString = NyCore::Owned<NyCore::String, string_free>;

constexpr int DefaultFontSize = 16;
char const* const DefaultFontName = "Liberation Sans";

std::uint32_t rgb(litehtml::web_color const& c)
{
    return (static_cast<std::uint32_t>(c.red) << 16) | (static_cast<std::uint32_t>(c.green) << 8) | c.blue;
}

G::GC* contextOf(litehtml::uint_ptr hdc)
{
    return reinterpret_cast<G::GC*>(hdc);
}

OwnedString utf16(char const* text)
{
    return OwnedString(string_from_utf8(text, static_cast<int>(std::strlen(text))));
}

// The first family of a CSS font list, without quotes or spaces around it;
// the generic families become the faces fontconfig knows under those names.
std::string firstFamily(char const* list)
{
    std::string family(list ? list : "");
    family = family.substr(0, family.find(','));
    auto const first = family.find_first_not_of(" \t\"'");
    auto const last = family.find_last_not_of(" \t\"'");
    family = first == std::string::npos ? std::string() : family.substr(first, last - first + 1);
    if (family.empty())
        return DefaultFontName;
    return family;
}

bool hasScheme(std::string const& name)
{
    auto const colon = name.find(':');
    return colon != std::string::npos && colon > 1 &&
           std::all_of(name.begin(), name.begin() + static_cast<long>(colon), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
}

bool intersect(litehtml::position const& a, litehtml::position const& b, litehtml::position* out)
{
    int const x = std::max(a.x, b.x), y = std::max(a.y, b.y);
    int const right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
    *out = litehtml::position(x, y, std::max(right - x, 0), std::max(bottom - y, 0));
    return right > x && bottom > y;
}

}

HtmlContainer::HtmlContainer() = default;

HtmlContainer::~HtmlContainer()
{
    dropImages();
}

void HtmlContainer::setViewport(int width, int height)
{
    viewportWidth = width;
    viewportHeight = height;
}

std::string HtmlContainer::takeClickedLink()
{
    return std::exchange(clickedLink, std::string());
}

std::string HtmlContainer::resolve(std::string const& name, char const* base) const
{
    if (name.empty() || name[0] == '#' || name[0] == '/' || hasScheme(name))
        return name;
    std::string folder = base && *base ? std::string(base) : baseFolder;
    if (!folder.empty() && folder.back() != '/')
        folder.resize(folder.find_last_of('/') + 1);
    // "dir/../x" and "./x" steps are taken out, so that one page has one name.
    return std::filesystem::path(folder + name).lexically_normal().string();
}

void HtmlContainer::dropImages()
{
    for (auto& [name, picture] : pictures)
        if (picture.loaded)
            pixmap_destroy(&picture.pixmap);
    pictures.clear();
}

litehtml::uint_ptr HtmlContainer::create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                              litehtml::font_style italic, unsigned int decoration,
                                              litehtml::font_metrics* fm)
{
    int style = (weight >= 600 ? G::Font::Bold : 0) | (italic == litehtml::fontStyleItalic ? G::Font::Italic : 0);
    OwnedString face = utf16(firstFamily(faceName).c_str());
    G::Font* font = G::Font::create(face.get(), std::max(size, 1), style);
    if (fm) {
        fm->ascent = font->get$ascent();
        fm->descent = font->get$descent();
        fm->height = font->get$height();
        fm->x_height = std::max(font->get$ascent() / 2, 1);
        fm->draw_spaces = (decoration & (litehtml::font_decoration_underline | litehtml::font_decoration_linethrough)) != 0;
    }
    return reinterpret_cast<litehtml::uint_ptr>(new FontEntry{font, decoration});
}

void HtmlContainer::delete_font(litehtml::uint_ptr hFont)
{
    auto* entry = reinterpret_cast<FontEntry*>(hFont);
    if (!entry)
        return;
    entry->font->release();
    delete entry;
}

int HtmlContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont)
{
    auto* entry = reinterpret_cast<FontEntry*>(hFont);
    if (!entry || !text || !*text)
        return 0;
    OwnedString units = utf16(text);
    return entry->font->measure(units.get());
}

void HtmlContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                              litehtml::web_color color, const litehtml::position& pos)
{
    auto* entry = reinterpret_cast<FontEntry*>(hFont);
    if (!entry || !text)
        return;
    G::GC* gc = contextOf(hdc);
    if (!gc) {
        runs.push_back({pos, text});
        return;
    }
    OwnedString units = utf16(text);
    G::Font* font = entry->font;
    // The engine places the baseline at the box's bottom less the descent.
    int const baseline = pos.bottom() - font->get$descent();
    int const top = baseline - font->get$ascent();
    gc_set_font(gc, font);
    gc_set_foreground(gc, rgb(color));
    int const width = font->measure(units.get());
    gc_characters(gc, units->units(), 0, units->count, pos.x, top, width + 1, font->get$height(), 0);
    gc_set_line_width(gc, 1);
    if (entry->decoration & litehtml::font_decoration_underline)
        gc_line(gc, pos.x, baseline + 1, pos.x + width, baseline + 1);
    if (entry->decoration & litehtml::font_decoration_linethrough)
        gc_line(gc, pos.x, baseline - font->get$ascent() / 3, pos.x + width, baseline - font->get$ascent() / 3);
    if (entry->decoration & litehtml::font_decoration_overline)
        gc_line(gc, pos.x, top, pos.x + width, top);
}

int HtmlContainer::pt_to_px(int pt) const
{
    return pt * 96 / 72;
}

int HtmlContainer::get_default_font_size() const
{
    return DefaultFontSize;
}

const litehtml::tchar_t* HtmlContainer::get_default_font_name() const
{
    return DefaultFontName;
}

void HtmlContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker)
{
    G::GC* gc = contextOf(hdc);
    if (!gc)
        return;
    if (!marker.image.empty()) {
        Picture* picture = findPicture(marker.image.c_str(), marker.baseurl);
        if (picture && picture->loaded) {
            gc_copy_rect(gc, marker.pos.x, marker.pos.y, &picture->pixmap.gc, 0, 0, picture->pixmap.width,
                         picture->pixmap.height);
            return;
        }
    }
    litehtml::position const& p = marker.pos;
    gc_set_foreground(gc, rgb(marker.color));
    gc_set_background(gc, rgb(marker.color));
    switch (marker.marker_type) {
    case litehtml::list_style_type_circle:
        gc_ellipse_line(gc, p.x, p.y, p.width, p.height);
        break;
    case litehtml::list_style_type_disc:
        gc_ellipse_fill(gc, p.x, p.y, p.width, p.height);
        break;
    case litehtml::list_style_type_square:
        gc_rect_fill(gc, p.x, p.y, p.width, p.height);
        break;
    default:
        break;
    }
}

HtmlContainer::Picture* HtmlContainer::findPicture(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl)
{
    if (!src || !*src)
        return nullptr;
    std::string const path = resolve(src, baseurl);
    auto found = pictures.find(path);
    if (found != pictures.end())
        return &found->second;
    Picture picture{false, {}};
    OwnedString name(filename_from_platform(path.c_str()));
    if (name)
        picture.loaded = pixmap_load_picture(&picture.pixmap, name.get());
    return &pictures.emplace(path, picture).first->second;
}

void HtmlContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool)
{
    findPicture(src, baseurl);
}

void HtmlContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& sz)
{
    Picture* picture = findPicture(src, baseurl);
    sz.width = picture && picture->loaded ? picture->pixmap.width : 0;
    sz.height = picture && picture->loaded ? picture->pixmap.height : 0;
}

void HtmlContainer::drawPicture(G::GC* gc, Picture* picture, litehtml::background_paint const& bg)
{
    int const w = bg.image_size.width > 0 ? bg.image_size.width : picture->pixmap.width;
    int const h = bg.image_size.height > 0 ? bg.image_size.height : picture->pixmap.height;
    if (w <= 0 || h <= 0)
        return;
    litehtml::position const& clip = bg.clip_box;
    litehtml::position area;
    if (!intersect(clip, clips.empty() ? drawingArea : clips.back(), &area))
        return;
    // The picture's clip lasts for the picture alone: everything else is cut
    // to the drawing area only, as html_helper_draw set it.
    gc_set_clip(gc, area.x, area.y, area.width, area.height);
    bool const repeatX = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_x;
    bool const repeatY = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_y;
    int x0 = bg.position_x, y0 = bg.position_y;
    if (repeatX)
        while (x0 > clip.x)
            x0 -= w;
    if (repeatY)
        while (y0 > clip.y)
            y0 -= h;
    G::Rect source{0, 0, picture->pixmap.width, picture->pixmap.height};
    for (int y = y0; y < (repeatY ? clip.bottom() : y0 + 1); y += h)
        for (int x = x0; x < (repeatX ? clip.right() : x0 + 1); x += w) {
            G::Rect target{x, y, w, h};
            if (w == picture->pixmap.width && h == picture->pixmap.height)
                gc_copy_rect(gc, x, y, &picture->pixmap.gc, 0, 0, w, h);
            else
                gc_stretch_rect(gc, &target, &picture->pixmap.gc, &source);
        }
    gc_set_clip(gc, drawingArea.x, drawingArea.y, drawingArea.width, drawingArea.height);
}

void HtmlContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg)
{
    G::GC* gc = contextOf(hdc);
    if (!gc)
        return;
    if (bg.color.alpha > 0) {
        gc_set_background(gc, rgb(bg.color));
        litehtml::position const& box = bg.is_root ? drawingArea : bg.clip_box;
        gc_rect_fill(gc, box.x, box.y, box.width, box.height);
    }
    if (!bg.image.empty()) {
        Picture* picture = findPicture(bg.image.c_str(), bg.baseurl.c_str());
        if (picture && picture->loaded)
            drawPicture(gc, picture, bg);
    }
}

void HtmlContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                 const litehtml::position& draw_pos, bool)
{
    G::GC* gc = contextOf(hdc);
    if (!gc)
        return;
    auto visible = [](litehtml::border const& b) {
        return b.width > 0 && b.style != litehtml::border_style_none && b.style != litehtml::border_style_hidden;
    };
    litehtml::position const& p = draw_pos;
    auto side = [&](litehtml::border const& b, int x, int y, int w, int h) {
        if (!visible(b))
            return;
        gc_set_background(gc, rgb(b.color));
        gc_rect_fill(gc, x, y, w, h);
    };
    side(borders.top, p.x, p.y, p.width, borders.top.width);
    side(borders.bottom, p.x, p.bottom() - borders.bottom.width, p.width, borders.bottom.width);
    side(borders.left, p.x, p.y, borders.left.width, p.height);
    side(borders.right, p.right() - borders.right.width, p.y, borders.right.width, p.height);
}

void HtmlContainer::set_caption(const litehtml::tchar_t* text)
{
    caption = text ? text : "";
}

void HtmlContainer::set_base_url(const litehtml::tchar_t* base_url)
{
    if (base_url && *base_url)
        baseFolder = resolve(base_url);
}

void HtmlContainer::link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) {}

void HtmlContainer::on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr&)
{
    clickedLink = url ? url : "";
}

void HtmlContainer::set_cursor(const litehtml::tchar_t*) {}

void HtmlContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt)
{
    bool wordStart = true;
    for (char& c : text) {
        auto const u = static_cast<unsigned char>(c);
        if (tt == litehtml::text_transform_uppercase || (tt == litehtml::text_transform_capitalize && wordStart))
            c = static_cast<char>(std::toupper(u));
        else if (tt == litehtml::text_transform_lowercase)
            c = static_cast<char>(std::tolower(u));
        wordStart = std::isspace(u) != 0;
    }
}

void HtmlContainer::import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl)
{
    std::string const path = resolve(url, baseurl.c_str());
    OwnedString name(filename_from_platform(path.c_str()));
    NyCore::IO::File file{name ? file_open(name.get(), NyCore::IO::FileRead) : NyCore::IO::NoFile};
    if (file.handle == NyCore::IO::NoFile)
        return;
    std::uint32_t const size = file_get_size(&file);
    if (size != NyCore::IO::FileFailure) {
        text.resize(size);
        text.resize(file_read(&file, text.data(), size) == size ? size : 0);
    }
    file_close(&file);
    baseurl = path;
}

void HtmlContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool, bool)
{
    litehtml::position const outer = clips.empty() ? drawingArea : clips.back();
    litehtml::position inner;
    intersect(pos, outer, &inner);
    clips.push_back(inner);
}

void HtmlContainer::del_clip()
{
    if (!clips.empty())
        clips.pop_back();
}

void HtmlContainer::get_client_rect(litehtml::position& client) const
{
    client = litehtml::position(0, 0, viewportWidth, viewportHeight);
}

std::shared_ptr<litehtml::element> HtmlContainer::create_element(const litehtml::tchar_t*, const litehtml::string_map&,
                                                                 const std::shared_ptr<litehtml::document>&)
{
    return nullptr;
}

void HtmlContainer::get_media_features(litehtml::media_features& media) const
{
    media.type = litehtml::media_type_screen;
    media.width = viewportWidth;
    media.height = viewportHeight;
    media.device_width = viewportWidth;
    media.device_height = viewportHeight;
    media.color = 8;
    media.monochrome = 0;
    media.color_index = 256;
    media.resolution = 96;
}

void HtmlContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const
{
    language = "en";
    culture = "";
}

}
