// The registration of the program's interface classes.
#include "vexadrome/interface/interface_types.h"

#include "vexadrome/documents/command_doc.h"
#include "vexadrome/interface/calculator_doc.h"
#include "vexadrome/interface/command_text_view.h"
#include "vexadrome/interface/edit_exprs.h"
#include "vexadrome/interface/edit_graph.h"
#include "vexadrome/interface/edit_lights.h"
#include "vexadrome/interface/equation_graph_view.h"
#include "vexadrome/interface/help_doc.h"
#include "vexadrome/interface/help_view.h"
#include "vexadrome/interface/vexadrome_app.h"
#include "vexadrome/interface/vexadrome_app_win.h"

namespace Vexadrome::Interface {

NyCore::TypeData* const InterfaceTypes[] = {&VexadromeAppWin::MetaData,
                                            &CommandTextView::MetaData,
                                            &EquationGraphView::MetaData,
                                            &HelpView::MetaData,
                                            &EditExprs::MetaData,
                                            &EditGraph::MetaData,
                                            &EditLights::MetaData,
                                            &ApplicationAlreadyBoundException::MetaData,
                                            &VexadromeApp::MetaData,
                                            &CalculatorDoc::MetaData,
                                            &HelpDoc::MetaData,
                                            nullptr};

void registerInterfaceTypes()
{
    for (NyCore::TypeData* const* record = InterfaceTypes; *record; ++record)
        if (NyCore::Type::getType((*record)->name) != (*record)->self || !(*record)->self)
            NyCore::Type::registerType(*record);
}

}
