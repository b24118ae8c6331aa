// BatchHost: the document host of command-line use. It holds the one
// definition store that every action of a run shares and makes no views.
#pragma once

#include "vexadrome/documents/document_host.h"

namespace Vexadrome::Interface {

class BatchHost : public Documents::DocumentHost {
public:
    Documents::ExprManager* get$store() override { return &store; }

private:
    Documents::ExprManager store;
};

}
