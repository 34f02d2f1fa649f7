// The library's one application object. The runtime constructs it before the library entry runs
// and destroys it from its exit list after the framework has shut down for this module.
#include "vasquill/app/VasquillApp.h"

CVQ_DeuApp theApp;
