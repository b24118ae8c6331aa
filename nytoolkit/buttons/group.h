// Group: a labelled frame (group box) holding widgets, and the keeper of
// its grouped buttons, of which at most one is selected (active) at a time.
#pragma once

#include "nycore/collection/string_map.h"
#include "nytoolkit/forms/nytk_widget.h"

namespace NyToolkit {

namespace Buttons {
class ButtonBase;
}

class Group : public NytkWidget {
    NY_REFLECTIVE(Group)
public:
    Group() = default;
    ~Group() override;
    static NyCore::Object* __create();

    // A group box takes no keys itself: Tab passes into its children.
    void onCreate() override;
    // "label" and "selected", then the children and links.
    void setParameters(NyCore::XML::Element* element) override;
    void onDraw(NyCore::Graphics::GC* gc) override;

    void setLabel(NyCore::String const* text);
    NyCore::String const* get$label() const { return label; }

    // Grouped buttons register and leave under their ids; an active button
    // that registers becomes the selection.
    void addButton(NyCore::String const* id, Buttons::ButtonBase* button);
    void removeButton(NyCore::String const* id, Buttons::ButtonBase* button);
    // Null for an id that no button has.
    Buttons::ButtonBase* getButton(NyCore::String const* id) const;

    // A button of the group became active: the one selected before is
    // deactivated, the id becomes the selection, and "select" is sent with it.
    void buttonSelect(NyCore::String const* id);
    // A button of the group was deactivated: when it was the selected one the group has no selection.
    void buttonDeselect(NyCore::String const* id);
    // Deactivates the selected button; no selection afterwards.
    void clearSelected();
    // Selects the button of the id (activating it) without sending "select";
    // null or an unknown id clears the selection.
    void set$selected(NyCore::String const* id);
    // The selected id (owned by the group), null when none.
    NyCore::String const* get$selected() const { return selected; }

private:
    void setSelectedId(NyCore::String const* id);

    NyCore::Collections::StringMap<Buttons::ButtonBase*>* buttons = nullptr;
    NyCore::String* selected = nullptr;
    NyCore::String* label = nullptr;
};

}
