// The lights dialog over a graph document, driven by real clicks and keys:
// it shows the lights as they are, an accept writes the switches and colours
// back, and Escape or the close box change nothing.
#include <gtest/gtest.h>

#include "tests/support/screenshots.h"
#include "tests/vexadrome/interface/graph_dialog_host.h"
#include "vexadrome/interface/edit_lights.h"

namespace {

using namespace GraphDialogTests;
using TestSupport::ModalStep;
using Vexadrome::Documents::GraphDoc;
using Vexadrome::Documents::GraphLight;
using Vexadrome::Interface::EditLights;

class EditLightsTest : public GraphDialogTest {};

EditLights* lights()
{
    return current<EditLights>();
}

TEST_F(EditLightsTest, AcceptWritesTheSwitchesAndColoursAndCancelChangesNothing)
{
    GraphDoc doc(&host);
    doc.lights[3].color = 5;
    doc.lights[3].directional = true;
    GraphLight const before[] = {doc.lights[0], doc.lights[1], doc.lights[2], doc.lights[3]};
    play([&] { doc.onEditLights(); },
         {
             {dialogReady<EditLights>,
              [&] {
                  for (int i = 0; i < GraphDoc::LightCount; ++i) {
                      EXPECT_EQ(lights()->get$activeButton(i)->get$active(), before[i].active) << i;
                      EXPECT_EQ(lights()->get$directButton(i)->get$active(), before[i].directional) << i;
                      EXPECT_EQ(lights()->get$colorList(i)->get$selectedIndex(), before[i].color) << i;
                  }
                  TestSupport::saveScreenshot(lights(), "lightedit");
                  clickMiddle(lights()->get$activeButton(1));
                  clickMiddle(lights()->get$directButton(1));
                  clickMiddle(lights()->get$activeButton(0));
                  clickMiddle(lights()->get$colorList(1));
              }},
             {[] {
                  NyToolkit::DropList* list = lights()->get$colorList(1);
                  return list->get$popUp() && NyCore::System::Widget::get$focused() == list;
              },
              [] {
                  for (int i = 0; i < 3; ++i)
                      TestSupport::tap(XK_Down);
                  TestSupport::tap(XK_Return);
              }},
             {[] { return !lights()->get$colorList(1)->get$popUp(); },
              [] { clickMiddle(TestSupport::child<NyToolkit::Buttons::TextButton>(lights(), u"wBtnAccept")); }},
         });
    struct Expected { bool active, directional; int color; };
    Expected const expected[] = {{!before[0].active, before[0].directional, before[0].color},
                                 {!before[1].active, !before[1].directional, before[1].color + 3},
                                 {before[2].active, before[2].directional, before[2].color},
                                 {before[3].active, before[3].directional, before[3].color}};
    for (int i = 0; i < GraphDoc::LightCount; ++i) {
        EXPECT_EQ(doc.lights[i].active, expected[i].active) << i;
        EXPECT_EQ(doc.lights[i].directional, expected[i].directional) << i;
        EXPECT_EQ(doc.lights[i].color, expected[i].color) << i;
        EXPECT_EQ(doc.lights[i].x, before[i].x) << "positions are the view's business";
    }
    EXPECT_TRUE(doc.get$isModified());

    doc.set$modified(false);
    for (bool closeBox : {false, true}) {
        play([&] { doc.onEditLights(); },
             {
                 {dialogReady<EditLights>, [] { clickMiddle(lights()->get$activeButton(2)); }},
                 {[] { return lights()->get$activeButton(2)->get$active() != false; },
                  [closeBox] {
                      if (closeBox)
                          sendDeleteWindow(lights());
                      else
                          TestSupport::tap(XK_Escape);
                  }},
             });
        EXPECT_EQ(doc.lights[2].active, before[2].active) << (closeBox ? "close box" : "Escape");
        EXPECT_FALSE(doc.get$isModified());
    }
}

}
