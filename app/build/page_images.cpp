// The pictures and positions of each page: which text becomes HTML text, where counters stand, the page's text
// styles, the background picture and the object pictures.

#include "app/build/site_builder.h"

void CSiteBuilder::LayoutTextObjects(CPageBuildRecord& record, int pageIndex)
{
    (void)record, (void)pageIndex;
}

void CSiteBuilder::LayoutCounters(CPageBuildRecord& record, int pageIndex)
{
    (void)record, (void)pageIndex;
}

void CSiteBuilder::CollectTextStyles(CPageBuildRecord& record, int pageIndex)
{
    (void)record, (void)pageIndex;
}

bool CSiteBuilder::BuildBackgroundImage(CPageBuildRecord& record, int pageIndex)
{
    (void)record, (void)pageIndex;
    return true;
}

int CSiteBuilder::BuildObjectImages(CPageBuildRecord& record, int pageIndex, BuildProgress& progress)
{
    (void)record, (void)pageIndex, (void)progress;
    return buildDone;
}
