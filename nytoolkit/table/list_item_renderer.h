// ListItemRenderer: draws an item-number cell (an Integer32) as the label
// of that item of a list's contents, so a table can show the names of the
// entries of a drop list.
#pragma once

#include "nycore/data/data_renderer.h"
#include "nytoolkit/lists/list_contents.h"

namespace NyToolkit::DataRenderers {

class ListItemRenderer : public NyCore::Data::DataRenderer {
    NY_REFLECTIVE(ListItemRenderer)
public:
    ListItemRenderer() = default;
    ~ListItemRenderer() override;
    static NyCore::Object* __create();

    // Numbers outside the items, and every number without contents, draw nothing.
    void render(NyCore::Object* value, NyCore::Graphics::GC* gc, NyCore::Graphics::Rect const* cell,
                unsigned flags) override;

    ListContents* get$list() const { return list; }
    // Takes a reference on the new contents before releasing the old ones.
    void set$list(ListContents* contents);

private:
    ListContents* list = nullptr;
};

}
