#include "app/publish/publish_host.h"

namespace {

NullPublishHost g_nullHost;
PublishHost* g_host = &g_nullHost;

} // namespace

void SetPublishHost(PublishHost* host)
{
    g_host = host ? host : &g_nullHost;
}

PublishHost& GetPublishHost()
{
    return *g_host;
}
