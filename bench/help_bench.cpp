// help_bench: how fast a help tab shows its pages. Two cases, each timed many
// times and reported as median, 90th percentile and worst:
//
// - opening help/index.htm in the HTML viewer (reading, parsing and laying out
//   the page) and painting it, as a new help tab does;
// - scrolling by one page (Page Down) and painting the part that came into view.
//
// Painting goes into an off-screen pixmap of the view's size, as the core's
// paint does, and ends with a read-back of one pixel: the X server has then
// drawn everything that was sent. The view is 640 x 438, the client area of a
// help tab in the 640 x 480 main window.
// Usage: help_bench [REPETITIONS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/private_display.h"
#include "nycore/graphics/offscreen_pixmap.h"
#include "nycore/graphics/pixel_io.h"
#include "nycore/io/data_folder.h"
#include "nycore/system/runtime.h"
#include "nycore/system/widget.h"
#include "nycore/system/x_connection.h"
#include "nycore/text/string_functions.h"
#include "nyuser/viewers/html_viewer.h"

using Clock = std::chrono::steady_clock;
using NyUser::Viewers::HTMLViewer;

namespace {

constexpr int Width = 640, Height = 438;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The view painted as the core paints a window: background, then the view, into a pixmap.
void paint(HTMLViewer* viewer, NyCore::Graphics::OffscreenPixmap* buffer)
{
    NyCore::Graphics::GC* gc = buffer->get$gc();
    gc_set_background(gc, 0xFFFFFF);
    gc_rect_fill(gc, 0, 0, Width, Height);
    viewer->onDraw(gc);
    gc_flush(gc);
    std::uint32_t pixel = 0;
    pixels_read(buffer->get$drawable(), 0, 0, 1, 1, &pixel);
}

struct Summary {
    double median, p90, worst;
};

Summary summarize(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    auto at = [&](double q) { return times[static_cast<std::size_t>(q * static_cast<double>(times.size() - 1))]; };
    return {at(0.5), at(0.9), times.back()};
}

void report(char const* name, Summary s, double goal)
{
    std::printf("| %s | %.2f | %.2f | %.2f | under %.0f | %s |\n", name, s.median, s.p90, s.worst, goal,
                s.p90 < goal ? "met" : "missed");
}

}

int main(int argc, char** argv)
{
    int const repetitions = argc > 1 ? std::max(5, std::atoi(argv[1])) : 60;
    if (!Bench::ensureDisplay()) {
        std::fprintf(stderr, "help_bench: no X display and no Xvfb could be started\n");
        return 1;
    }
    NyCore::System::Runtime::initilize();
    if (!NyCore::System::XConnection::tryOpen()) {
        std::fprintf(stderr, "help_bench: the display does not answer\n");
        return 1;
    }
    NyCore::String* index = data_file_find(u"help/index.htm"_str);
    NyCore::String* other = data_file_find(u"help/graph.htm"_str);
    auto* window = NyCore::System::Widget::create(nullptr, u"NyCore.System.Widget",
                                                  NyCore::System::WidgetFlags::TopLevel, 0, 0, Width, Height);
    auto* viewer = static_cast<HTMLViewer*>(
        NyCore::System::Widget::create(window, u"NyUser.Viewers.HTMLViewer", 0, 0, 0, Width, Height));
    NyCore::Graphics::OffscreenPixmap buffer(Width, Height);

    // Another page in between, so that every opening reads and lays out the index anew.
    std::vector<double> opening;
    for (int i = 0; i <= repetitions; ++i) {
        viewer->openUri(other);
        Clock::time_point const start = Clock::now();
        viewer->openUri(index);
        paint(viewer, &buffer);
        if (i > 0)
            opening.push_back(millisecondsSince(start));
    }
    if (html_helper_page_height(viewer->get$embedding()) <= Height) {
        std::fprintf(stderr, "help_bench: help/index.htm was not found or is shorter than one page\n");
        return 1;
    }

    std::vector<double> scrolling;
    int const page = Height - HTMLViewer::LineStep;
    int const end = html_helper_page_height(viewer->get$embedding()) - Height;
    for (int i = 0; i < repetitions * 4; ++i) {
        int const top = viewer->get$top() >= end ? 0 : viewer->get$top() + page;
        Clock::time_point const start = Clock::now();
        viewer->set$vscroll(top);
        paint(viewer, &buffer);
        scrolling.push_back(millisecondsSince(start));
    }

    std::printf("help view on %s, %d x %d, help/index.htm %d pixels high, %d openings and %d page scrolls\n\n",
                std::getenv("DISPLAY"), Width, Height, html_helper_page_height(viewer->get$embedding()), repetitions,
                repetitions * 4);
    std::printf("| case | median ms | 90th percentile ms | worst ms | goal ms | |\n|---|---:|---:|---:|---|---|\n");
    report("open help/index.htm and paint it", summarize(opening), 50);
    report("scroll by one page and paint", summarize(scrolling), 16);
    window->close();
    string_free(index);
    string_free(other);
    Bench::stopDisplay();
    return 0;
}
