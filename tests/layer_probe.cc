// Built only by the test LayersRefuseAnIncludeUpward, as part of the store
// layer: the include of a higher layer must fail to compile.
#include "import/parser.h"
#include "store/store.h"
