// EditLights: the lights dialog of a graph document. For each of the four
// lights a toggle to switch it on, a toggle to make it directional and its
// colour; the positions are moved in the graph view.
#pragma once

#include "nytoolkit/buttons/text_button.h"
#include "nytoolkit/lists/drop_list.h"
#include "vexadrome/documents/graph_doc.h"
#include "vexadrome/interface/form_dialog.h"

namespace Vexadrome::Interface {

class EditLights : public FormDialog {
    NY_REFLECTIVE(EditLights)
public:
    static constexpr int LightCount = Documents::GraphDoc::LightCount;

    EditLights() = default;
    static NyCore::Object* __create();

    void setParameters(NyCore::XML::Element* element) override;

    void rdLights(Documents::GraphDoc* graph);
    void wrLights(Documents::GraphDoc* graph);

    void onAccept();
    void onCancel();

    NyToolkit::Buttons::ButtonBase* get$activeButton(int light) const { return active[light]; }
    NyToolkit::Buttons::ButtonBase* get$directButton(int light) const { return direct[light]; }
    NyToolkit::DropList* get$colorList(int light) const { return color[light]; }

private:
    NyToolkit::Buttons::ButtonBase* active[LightCount] = {};
    NyToolkit::Buttons::ButtonBase* direct[LightCount] = {};
    NyToolkit::DropList* color[LightCount] = {};
};

}
