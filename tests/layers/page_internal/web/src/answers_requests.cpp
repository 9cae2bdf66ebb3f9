// A page source that fills the front end's hook, which it may, and reaches
// into the request handling, which the layer check must refuse.
#include "host/front_end_hook.h"
#include "host/request.h"
