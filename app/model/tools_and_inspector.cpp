#include "app/model/tools_and_inspector.h"

#include "app/model/seam_slot.h"

namespace {

SeamSlot<ToolsAndInspector, NullToolsAndInspector> g_toolsAndInspector;

} // namespace

void SetToolsAndInspector(ToolsAndInspector* tools)
{
    g_toolsAndInspector.Set(tools);
}

ToolsAndInspector& GetToolsAndInspector()
{
    return g_toolsAndInspector.Get();
}

ToolsAndInspector* ExchangeSeam(ToolsAndInspector* tools)
{
    return g_toolsAndInspector.Exchange(tools);
}
