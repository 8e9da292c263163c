#include "app/model/model_dialogs.h"

#include "app/model/seam_slot.h"

namespace {

SeamSlot<ModelDialogs, NullModelDialogs> g_modelDialogs;

} // namespace

void SetModelDialogs(ModelDialogs* dialogs)
{
    g_modelDialogs.Set(dialogs);
}

ModelDialogs& GetModelDialogs()
{
    return g_modelDialogs.Get();
}

ModelDialogs* ExchangeSeam(ModelDialogs* dialogs)
{
    return g_modelDialogs.Exchange(dialogs);
}
