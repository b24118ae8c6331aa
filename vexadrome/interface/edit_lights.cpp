// The lights dialog: the four lights' switches and colours, read from and
// written to the graph document.
#include "vexadrome/interface/edit_lights.h"

#include <string>

#include "nycore/system/method_thunk.h"
#include "nycore/text/string_functions.h"
#include "vexadrome/interface/graph_colors.h"

namespace Vexadrome::Interface {

namespace {

NyCore::MethodEntry const EditLightsMethods[] = {{u"onAccept", NY_METHOD(EditLights::onAccept)},
                                                 {u"onCancel", NY_METHOD(EditLights::onCancel)},
                                                 {u"rdLights", NY_METHOD(EditLights::rdLights)},
                                                 {u"wrLights", NY_METHOD(EditLights::wrLights)},
                                                 {nullptr, nullptr}};

// The id of light i's widget: the stem and the light's number from 1.
NyCore::String* lightId(char16_t const* stem, int light)
{
    std::u16string id(stem);
    id += static_cast<char16_t>(u'1' + light);
    return NyCore::String::create(id.c_str(), 0, static_cast<int>(id.size()));
}

}

NyCore::TypeData EditLights::MetaData = {&FormDialog::MetaData, nullptr, u"Vexadrome.Interface.EditLights"_str,
                                         EditLightsMethods, NyCore::NoEvents, &EditLights::__create,
                                         sizeof(EditLights), 0, nullptr};

NyCore::Object* EditLights::__create()
{
    return new EditLights();
}

void EditLights::setParameters(NyCore::XML::Element* element)
{
    FormDialog::setParameters(element);
    auto* accept = require<NyToolkit::Buttons::TextButton>(u"wBtnAccept"_str);
    link(accept, this, u"click", NY_METHOD(EditLights::onAccept));
    link(require<NyToolkit::Buttons::TextButton>(u"wBtnCancel"_str), this, u"click", NY_METHOD(EditLights::onCancel));
    NyToolkit::ListContents* colors = createGraphColorList();
    for (int light = 0; light < LightCount; ++light) {
        NyCore::String* id = lightId(u"wBtnActive", light);
        active[light] = require<NyToolkit::Buttons::ButtonBase>(id);
        string_free(id);
        id = lightId(u"wBtnDirect", light);
        direct[light] = require<NyToolkit::Buttons::ButtonBase>(id);
        string_free(id);
        id = lightId(u"wColor", light);
        color[light] = require<NyToolkit::DropList>(id);
        string_free(id);
        color[light]->set$contents(colors);
    }
    colors->release();
    initialFocus = active[0];
}

void EditLights::rdLights(Documents::GraphDoc* graph)
{
    for (int light = 0; light < LightCount; ++light) {
        Documents::GraphLight const& source = graph->lights[light];
        active[light]->set$active(source.active);
        direct[light]->set$active(source.directional);
        color[light]->set$selectedIndex(source.color);
    }
}

void EditLights::wrLights(Documents::GraphDoc* graph)
{
    for (int light = 0; light < LightCount; ++light) {
        Documents::GraphLight& target = graph->lights[light];
        target.active = active[light]->get$active();
        target.directional = direct[light]->get$active();
        // A list left without a choice keeps the light's colour.
        if (color[light]->get$selectedIndex() >= 0)
            target.color = color[light]->get$selectedIndex();
    }
}

void EditLights::onAccept()
{
    endDialog(1);
}

void EditLights::onCancel()
{
    endDialog(0);
}

}
