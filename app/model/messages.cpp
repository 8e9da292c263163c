#include "app/model/messages.h"

#include "app/model/seam_slot.h"

namespace {

SeamSlot<Messages, NullMessages> g_messages;

} // namespace

void SetMessages(Messages* messages)
{
    g_messages.Set(messages);
}

Messages& GetMessages()
{
    return g_messages.Get();
}

Messages* ExchangeSeam(Messages* messages)
{
    return g_messages.Exchange(messages);
}
