// The HTML file of one page.

#include "app/build/site_builder.h"

bool WritePage(CPageBuildRecord& record, CSiteBuilder& builder, BuildProgress& progress, SiteBuildOptions options)
{
    (void)record, (void)builder, (void)progress, (void)options;
    return true;
}
