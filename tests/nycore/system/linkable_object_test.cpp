// Event linking by name: link, send, invokeMethod and the listener tables
// that LinkableObject keeps on both sides of every link.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "nycore/system/linkable_object.h"
#include "tests/support/child_process.h"

using namespace NyCore;
using NyCore::Extenders::LinkableObject;
using CallbackParams = Object::CallbackParams;
using Entry = std::tuple<Object*, Method, int>;

namespace {

struct Call {
    Object* receiver;
    std::string method;
    std::vector<std::intptr_t> args;

    bool operator==(Call const&) const = default;
};

std::vector<Call> calls;

// A sender with an inherited event table: a Button's own events get ids 0
// and 1, the Control's events 2 and 3.
class Control : public LinkableObject {
    NY_REFLECTIVE(Control)
};

class Button : public Control {
    NY_REFLECTIVE(Button)
};

class Window : public LinkableObject {
    NY_REFLECTIVE(Window)
public:
    void onSaveAs() { calls.push_back({this, "onSaveAs", {}}); }

    int onArgs(std::intptr_t a, std::intptr_t b, std::intptr_t c, std::intptr_t d, std::intptr_t e)
    {
        calls.push_back({this, "onArgs", {a, b, c, d, e}});
        return static_cast<int>(a + b + c + d + e);
    }

    // Runs `action` (linking, sending or deleting) while the event is sent.
    void onAction()
    {
        calls.push_back({this, "onAction", {}});
        action();
    }

    std::function<void()> action;
};

// Plain objects that declare the names but keep no listener table.
class PlainSender : public Object {
    NY_REFLECTIVE(PlainSender)
};

class PlainReceiver : public Object {
    NY_REFLECTIVE(PlainReceiver)
public:
    void onSaveAs() {}
};

char16_t const* const ControlEvents[] = {u"focusLost", u"hover", nullptr};
char16_t const* const ButtonEvents[] = {u"click", u"press", nullptr};
MethodEntry const WindowMethods[] = {
    {u"onSaveAs", NY_METHOD(Window::onSaveAs)},
    {u"onArgs", NY_METHOD(Window::onArgs)},
    {u"onAction", NY_METHOD(Window::onAction)},
    {nullptr, nullptr},
};
MethodEntry const PlainMethods[] = {{u"onSaveAs", NY_METHOD(PlainReceiver::onSaveAs)}, {nullptr, nullptr}};

}

TypeData Control::MetaData = {&LinkableObject::MetaData, nullptr, u"Test.Control"_str, NoMethods, ControlEvents,
                              nullptr, sizeof(Control), 0, nullptr};
TypeData Button::MetaData = {&Control::MetaData, nullptr, u"Test.Button"_str, NoMethods, ButtonEvents,
                             nullptr, sizeof(Button), 0, nullptr};
TypeData Window::MetaData = {&LinkableObject::MetaData, nullptr, u"Test.Window"_str, WindowMethods, NoEvents,
                             nullptr, sizeof(Window), 0, nullptr};
TypeData PlainSender::MetaData = {&Object::MetaData, nullptr, u"Test.PlainSender"_str, NoMethods, ButtonEvents,
                                  nullptr, sizeof(PlainSender), 0, nullptr};
TypeData PlainReceiver::MetaData = {&Object::MetaData, nullptr, u"Test.PlainReceiver"_str, PlainMethods, NoEvents,
                                    nullptr, sizeof(PlainReceiver), 0, nullptr};

namespace {

Entry fields(LinkableObject::Listener const& entry)
{
    return {entry.object, entry.method, entry.eventId};
}

bool isBlank(LinkableObject::Listener const& entry)
{
    return fields(entry) == Entry(nullptr, nullptr, -1);
}

int liveLinks(LinkableObject const* object)
{
    int live = 0;
    for (int i = 0; i < object->get$linkCount(); ++i)
        live += isBlank(object->getLink(i)) ? 0 : 1;
    return live;
}

}

TEST(Linking, LinksByNameAndFiresWithInheritedEventIds)
{
    struct Case {
        bool fromButton;
        char16_t const* event;
        int id;
    } const cases[] = {
        {true, u"click", 0},      {true, u"press", 1},  {true, u"focusLost", 2},
        {true, u"hover", 3},      {false, u"focusLost", 0}, {false, u"hover", 1},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(std::string(c.fromButton ? "button " : "control ") + std::to_string(c.id));
        calls.clear();
        LinkableObject* sender = c.fromButton ? new Button() : new Control();
        auto* window = new Window();
        ASSERT_TRUE(Object::link(sender, window, c.event, u"onSaveAs"));
        EXPECT_EQ(fields(sender->getLink(0)), Entry(window, NY_METHOD(Window::onSaveAs), c.id));
        EXPECT_EQ(fields(window->getLink(0)), Entry(sender, nullptr, c.id)) << "the receiver's back entry";

        for (char16_t const* event : {u"click", u"press", u"focusLost", u"hover", u"noSuchEvent"})
            sender->send(event);
        EXPECT_EQ(calls, (std::vector<Call>{{window, "onSaveAs", {}}})) << "only the linked event calls";
        delete sender;
        EXPECT_EQ(window->get$linkCount(), 1);
        EXPECT_TRUE(isBlank(window->getLink(0))) << "the sender's destruction blanks the back entry";
        delete window;
    }
}

TEST(Linking, HandlerThatLinksDuringTheEventIsCalledInTheSamePass)
{
    calls.clear();
    auto* button = new Button();
    auto* linker = new Window();
    auto* late = new Window();
    linker->action = [&] { Object::link(button, late, u"click", u"onSaveAs"); };
    // Fill the first table to its last entry, so the link made in the handler grows it mid-walk.
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(Object::link(button, late, u"press", u"onSaveAs"));
    ASSERT_TRUE(Object::link(button, linker, u"click", u"onAction"));
    EXPECT_EQ(button->get$linkCapacity(), 16);
    button->send(u"click");
    EXPECT_EQ(calls, (std::vector<Call>{{linker, "onAction", {}}, {late, "onSaveAs", {}}}));
    EXPECT_EQ(std::tuple(button->get$linkCapacity(), button->get$linkCount()), std::tuple(32, 17));
    calls.clear();
    button->send(u"press");
    EXPECT_EQ(calls, std::vector<Call>(15, {late, "onSaveAs", {}})) << "the grown table kept every link";
    delete late;
    delete linker;
    delete button;
}

TEST(Linking, ArgumentBlocksReachTheHandlerInOrderAndUnknownNamesAreFatal)
{
    using Args = std::vector<std::intptr_t>;
    struct Case {
        char const* name;
        bool noBlock;
        CallbackParams block;
        bool called;
        Args args;
        int sum;  // the handler's return value
    } const cases[] = {
        {"no block", true, {}, true, {0, 0, 0, 0, 0}, 0},
        {"count 0", false, {0, {1, 2, 3, 4, 5}}, false, {}, 0},
        {"count 1", false, {1, {7, 8, 9, 10, 11}}, true, {7, 0, 0, 0, 0}, 7},
        {"count 5", false, {5, {1, 2, 3, 4, 5}}, true, {1, 2, 3, 4, 5}, 15},
        {"count 6", false, {6, {1, 2, 3, 4, 5}}, false, {}, 0},
    };
    auto* button = new Button();
    auto* window = new Window();
    ASSERT_TRUE(Object::link(button, window, u"click", u"onArgs"));
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        CallbackParams block = c.block;
        CallbackParams* params = c.noBlock ? nullptr : &block;
        std::vector<Call> expected;
        if (c.called)
            expected.push_back({window, "onArgs", c.args});

        calls.clear();
        button->send(u"click", params);
        EXPECT_EQ(calls, expected) << "send";

        calls.clear();
        EXPECT_EQ(window->invokeMethod(u"onArgs"_str, params), c.sum);
        EXPECT_EQ(calls, expected) << "invokeMethod by name";
    }
    delete button;
    delete window;
    TestSupport::expectReport([] { Window().invokeMethod(u"onNothing"_str, nullptr); },
                              "unhandeled exception: NyCore.UnknownMethodException\nUnknown method specified\n");
}

TEST(Linking, HandlersMayDestroyTheSenderOrALaterReceiver)
{
    // The sender destroyed by its first handler: the walk stops there.
    calls.clear();
    auto* button = new Button();
    auto* destroyer = new Window();
    auto* after = new Window();
    destroyer->action = [&] { delete button; };
    ASSERT_TRUE(Object::link(button, destroyer, u"click", u"onAction"));
    ASSERT_TRUE(Object::link(button, after, u"click", u"onSaveAs"));
    button->send(u"click");
    EXPECT_EQ(calls, (std::vector<Call>{{destroyer, "onAction", {}}}));
    EXPECT_EQ(liveLinks(destroyer) + liveLinks(after), 0);

    // A later receiver destroyed by an earlier handler is not called.
    calls.clear();
    button = new Button();
    destroyer->action = [&] { delete after; };
    ASSERT_TRUE(Object::link(button, destroyer, u"click", u"onAction"));
    ASSERT_TRUE(Object::link(button, after, u"click", u"onSaveAs"));
    button->send(u"click");
    EXPECT_EQ(calls, (std::vector<Call>{{destroyer, "onAction", {}}}));
    EXPECT_TRUE(isBlank(button->getLink(1))) << "the destroyed receiver's entry is blanked, not removed";
    delete button;
    delete destroyer;
}

TEST(Linking, FailedLinksAreReportedAndLinkNothing)
{
    struct Case {
        char const* name;
        bool (*attempt)(Button* button, Window* window);
        char const* output;
    } const cases[] = {
        {"unknown event", [](Button* b, Window* w) { return Object::link(b, w, u"noSuchEvent", u"onSaveAs"); },
         "event not found, or method null: -1\n"},
        {"unknown method", [](Button* b, Window* w) { return Object::link(b, w, u"press", u"onNothing"); },
         "event not found, or method null: 1\n"},
        {"plain sender",
         [](Button*, Window* w) {
             PlainSender sender;
             return Object::link(&sender, w, u"click", u"onSaveAs");
         },
         "failed to listen to sender\n"},
        {"no receiver", [](Button* b, Window*) { return Object::link(b, nullptr, u"click", NY_METHOD(Window::onSaveAs)); },
         "failed to listen to sender\n"},
        {"plain receiver",
         [](Button* b, Window*) {
             PlainReceiver receiver;
             return Object::link(b, &receiver, u"click", u"onSaveAs");
         },
         "failed to listen to receiver\n"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        Button button;
        Window window;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(c.attempt(&button, &window));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.output);
        EXPECT_EQ(liveLinks(&button) + liveLinks(&window), 0) << "nothing was linked";
    }
}
