// The table classes the toolkit registers: the viewer, its columns and the data renderers.
#include "nytoolkit/table/check_box_renderer.h"
#include "nytoolkit/table/currency_renderer.h"
#include "nytoolkit/table/date_time_renderer.h"
#include "nytoolkit/table/double_renderer.h"
#include "nytoolkit/table/icon_renderer.h"
#include "nytoolkit/table/list_item_renderer.h"
#include "nytoolkit/table/string_renderer.h"
#include "nytoolkit/table/table_viewer.h"
#include "nytoolkit/toolkit_types.h"

namespace NyToolkit {

NyCore::TypeData* const TableTypes[] = {&TableViewer::MetaData,
                                        &TableViewerColumn::MetaData,
                                        &DataRenderers::StringRenderer::MetaData,
                                        &DataRenderers::DoubleRenderer::MetaData,
                                        &DataRenderers::CurrencyRenderer::MetaData,
                                        &DataRenderers::DateTimeRenderer::MetaData,
                                        &DataRenderers::CheckBoxRenderer::MetaData,
                                        &DataRenderers::IconRenderer::MetaData,
                                        &DataRenderers::ListItemRenderer::MetaData,
                                        nullptr};

}
