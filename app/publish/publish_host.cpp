#include "app/publish/publish_host.h"

#include "app/model/seam_slot.h"

namespace {

SeamSlot<PublishHost, NullPublishHost> g_host;

} // namespace

void SetPublishHost(PublishHost* host)
{
    g_host.Set(host);
}

PublishHost& GetPublishHost()
{
    return g_host.Get();
}

PublishHost* ExchangeSeam(PublishHost* host)
{
    return g_host.Exchange(host);
}
