#include "app/model/tools_and_inspector.h"

namespace {

NullToolsAndInspector g_noToolsAndInspector;
ToolsAndInspector* g_toolsAndInspector = &g_noToolsAndInspector;

} // namespace

void SetToolsAndInspector(ToolsAndInspector* tools)
{
    g_toolsAndInspector = tools ? tools : &g_noToolsAndInspector;
}

ToolsAndInspector& GetToolsAndInspector()
{
    return *g_toolsAndInspector;
}
