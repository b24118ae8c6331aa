// HtmlContainer: the layout engine's drawing and resource callbacks answered
// with the core's drawing (Xft text in the page's fonts, fills, lines,
// pictures from BMP and PNG files). Only the html_helper functions use it, so
// the engine's interface, which changes between its versions, stays in two files.
#pragma once

#include <litehtml.h>

#include <map>
#include <string>
#include <vector>

#include "nycore/graphics/gc.h"
#include "nycore/graphics/pixmap.h"

namespace NyCore::Graphics {
class Font;
}

namespace NyUser::Viewers {

// One run of text as it was laid out: its box in page coordinates and its
// characters, in the order the page draws them (reading order).
struct HtmlTextRun {
    litehtml::position box;
    std::string text;
};

class HtmlContainer : public litehtml::document_container {
public:
    HtmlContainer();
    // The engine's interface has no virtual destructor: the container is never deleted through it.
    ~HtmlContainer();
    HtmlContainer(HtmlContainer const&) = delete;
    HtmlContainer& operator=(HtmlContainer const&) = delete;

    // Where relative names of pictures and stylesheets are resolved (a folder ending with '/').
    void setBaseFolder(std::string const& folder) { baseFolder = folder; }
    void setViewport(int width, int height);
    // The part of the context that shows the page's viewport: what the
    // drawing clips to and the root background fills; set before every draw.
    void setDrawingArea(litehtml::position const& area) { drawingArea = area; }
    // Drawing calls with a null context only record the text runs, which
    // the selection and the tests read.
    void beginRecording() { runs.clear(); }
    std::vector<HtmlTextRun> const& textRuns() const { return runs; }
    // The link the last click released over, taken once.
    std::string takeClickedLink();
    std::string const& get$caption() const { return caption; }
    // A name made absolute against the base folder ("#..." and scheme names stay as they are).
    std::string resolve(std::string const& name, char const* base = nullptr) const;
    // Forgets every picture loaded (before a new page).
    void dropImages();

    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr hFont) override;
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                   litehtml::web_color color, const litehtml::position& pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override;
    const litehtml::tchar_t* get_default_font_name() const override;
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool redraw_on_ready) override;
    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& draw_pos,
                      bool root) override;
    void set_caption(const litehtml::tchar_t* caption) override;
    void set_base_url(const litehtml::tchar_t* base_url) override;
    void link(const std::shared_ptr<litehtml::document>& doc, const litehtml::element::ptr& el) override;
    void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) override;
    void set_cursor(const litehtml::tchar_t* cursor) override;
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius, bool valid_x,
                  bool valid_y) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t* tag_name,
                                                      const litehtml::string_map& attributes,
                                                      const std::shared_ptr<litehtml::document>& doc) override;
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

private:
    struct FontEntry {
        NyCore::Graphics::Font* font;
        unsigned decoration;
    };
    struct Picture {
        bool loaded;
        NyCore::Graphics::PixmapSurface pixmap;
    };
    Picture* findPicture(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl);
    void drawPicture(NyCore::Graphics::GC* gc, Picture* picture, litehtml::background_paint const& bg);

    std::string baseFolder;
    std::string caption;
    std::string clickedLink;
    std::map<std::string, Picture> pictures;
    std::vector<HtmlTextRun> runs;
    // The boxes that hide their overflow, each within the one before and the
    // drawing area; only pictures are cut to them.
    std::vector<litehtml::position> clips;
    litehtml::position drawingArea;
    int viewportWidth = 0;
    int viewportHeight = 0;
};

}
