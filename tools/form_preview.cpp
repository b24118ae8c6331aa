// form_preview: opens a form file as a window so that a person can try its
// controls by hand; closing the window ends the program.
//   form_preview FILE.form [--screenshot OUT.png]
// With --screenshot the window is saved as a PNG once it has painted, and the
// program exits. The first control that takes the keyboard focus gets it.
// Tables get a few rows of sample values so that their cell renderers show.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "nycore/graphics/pixel_io.h"
#include "nycore/system/boxed_values.h"
#include "nycore/system/event_loop.h"
#include "nycore/system/runtime.h"
#include "nycore/system/widget.h"
#include "nycore/system/x_connection.h"
#include "nycore/text/string_functions.h"
#include "nytoolkit/forms/loader.h"
#include "nytoolkit/table/table_viewer.h"

using NyCore::System::EventLoop;
using NyCore::System::Widget;
using NyCore::System::XConnection;

namespace {

struct Options {
    char const* form = nullptr;
    char const* screenshot = nullptr;
};

int usage()
{
    std::fprintf(stderr, "usage: form_preview FILE.form [--screenshot OUT.png]\n");
    return 2;
}

// The sample cells given to the tables of the form; they live until the program ends.
struct SampleCells {
    std::vector<NyCore::Object*> objects;
    std::vector<NyCore::String*> texts;
    ~SampleCells()
    {
        for (NyCore::Object* object : objects)
            delete object;
        for (NyCore::String* text : texts)
            string_free(text);
    }
};

// A sample value of the column's type for `row` (null for a type without samples).
NyCore::Object* sampleCell(NyCore::Type* type, int row, SampleCells& cells)
{
    static double const numbers[] = {3.14159, -2.5, 1024, 0.125};
    NyCore::Object* cell = nullptr;
    if (!type) {
        return nullptr;
    } else if (type == NyCore::asType(&NyCore::Double::MetaData)) {
        cell = new NyCore::Double(numbers[row % 4]);
    } else if (type == NyCore::asType(&NyCore::Integer32::MetaData)) {
        cell = new NyCore::Integer32(row % 2);
    } else if (type == NyCore::asType(&NyCore::DateTime::MetaData)) {
        cell = new NyCore::DateTime(2026, 1 + row, 1 + 7 * row);
    } else if (type == NyCore::asType(&NyCore::StringMetaData)) {
        std::string const text = "Sample " + std::to_string(row + 1);
        cells.texts.push_back(string_from_utf8(text.data(), static_cast<int>(text.size())));
        // Text cells hold String blocks under the Object pointer, as the table expects.
        return reinterpret_cast<NyCore::Object*>(cells.texts.back());
    }
    if (cell)
        cells.objects.push_back(cell);
    return cell;
}

// Gives every empty table under `widget` four rows of sample cells.
void fillTables(Widget* widget, SampleCells& cells)
{
    if (auto* viewer = dynamic_cast<NyToolkit::TableViewer*>(widget); viewer && viewer->get$table()->get$rowCount() == 0) {
        NyCore::Data::DataTable* table = viewer->get$table();
        for (int row = 0; row < 4; ++row) {
            auto* values = NyCore::Collections::Array<NyCore::Object*>::alloc(table->get$columnCount());
            for (int column = 0; column < table->get$columnCount(); ++column)
                (*values)[column] = sampleCell(table->getColumnType(column), row, cells);
            table->appendRow(values);
            values->free();
        }
    }
    if (Widget* first = widget->get$firstChild()) {
        Widget* child = first;
        do {
            fillTables(child, cells);
            child = child->get$nextSibling();
        } while (child != first);
    }
}

bool viewable(Widget* widget)
{
    XWindowAttributes attributes;
    return widget->get$nativeWindow() &&
           XGetWindowAttributes(XConnection::get$display(), widget->get$nativeWindow(), &attributes) &&
           attributes.map_state == IsViewable;
}

// Serves events until the server has nothing more to send: every window that
// is on screen has then had its expose, so it has painted. False when the
// window went away meanwhile.
bool settle(Widget* form)
{
    Display* display = XConnection::get$display();
    // Mapping is asynchronous (and slower under a window manager).
    for (int round = 0; !viewable(form); ++round) {
        if (round == 500 || !EventLoop::serviceEvents(form))
            return false;
        XSync(display, False);
        ::usleep(10000);
    }
    form->focus();
    form->focusNext();
    do {
        XSync(display, False);
        if (!EventLoop::serviceEvents(form))
            return false;
        XSync(display, False);
    } while (XPending(display) > 0);
    return true;
}

int screenshot(Widget* form, char const* fileName)
{
    int w = form->get$width();
    int h = form->get$height();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    pixels_read(form->get$nativeWindow(), 0, 0, w, h, pixels.data());
    NyCore::String* path = string_from_utf8(fileName, static_cast<int>(std::strlen(fileName)));
    bool saved = pixels_save_png(pixels.data(), w, h, path);
    string_free(path);
    if (!saved) {
        std::fprintf(stderr, "form_preview: cannot write the screenshot \"%s\"\n", fileName);
        return 1;
    }
    return 0;
}

int run(Options const& options)
{
    // Checked here so that the message is a plain one, not the loader's fatal report.
    if (::access(options.form, R_OK) != 0) {
        std::fprintf(stderr, "form_preview: cannot read the form file \"%s\": %s\n", options.form,
                     std::strerror(errno));
        return 1;
    }
    if (!XConnection::tryOpen()) {
        std::fprintf(stderr, "form_preview: no X display to show \"%s\" on (is DISPLAY set?)\n", options.form);
        return 1;
    }
    NyCore::String* name = string_from_utf8(options.form, static_cast<int>(std::strlen(options.form)));
    Widget* form = NyToolkit::Loader::load(name, nullptr, 0);
    string_free(name);
    if (!form) {
        std::fprintf(stderr, "form_preview: \"%s\" has no root element\n", options.form);
        return 1;
    }
    SampleCells cells;
    fillTables(form, cells);
    if (!settle(form)) {
        std::fprintf(stderr, "form_preview: the window of \"%s\" never came on screen\n", options.form);
        return 1;
    }
    if (options.screenshot) {
        int code = screenshot(form, options.screenshot);
        form->close();
        EventLoop::serviceEvents(nullptr);
        return code;
    }
    // The loop ends with 0 when the window is closed.
    return EventLoop::execute(form) < 0 ? 1 : 0;
}

}

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc)
            options.screenshot = argv[++i];
        else if (argv[i][0] == '-' || options.form)
            return usage();
        else
            options.form = argv[i];
    }
    if (!options.form)
        return usage();
    NyCore::System::Runtime::initilize();
    int code = run(options);
    NyCore::System::Runtime::shutdown();
    return code;
}
