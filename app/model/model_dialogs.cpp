#include "app/model/model_dialogs.h"

namespace {

NullModelDialogs g_noModelDialogs;
ModelDialogs* g_modelDialogs = &g_noModelDialogs;

} // namespace

void SetModelDialogs(ModelDialogs* dialogs)
{
    g_modelDialogs = dialogs ? dialogs : &g_noModelDialogs;
}

ModelDialogs& GetModelDialogs()
{
    return *g_modelDialogs;
}
