#include "browser/dde_bus.h"

#include <strings.h>

#include <map>
#include <vector>

namespace kitefly {

struct DdeConversation
{
    DWORD instance;
    std::string service;
    std::string topic;
    DdeServer* server;
};

namespace {

struct Registration
{
    std::string service;
    DdeServer* server;
};

// The bus lives on the heap for the whole process: the library's unload still closes its client after static objects
// are gone.
std::vector<Registration>& Servers()
{
    static auto& servers = *new std::vector<Registration>;
    return servers;
}

// Last error of each live instance.
std::map<DWORD, UINT>& Instances()
{
    static auto& instances = *new std::map<DWORD, UINT>;
    return instances;
}

DWORD g_nextInstance = 1;

bool Matches(const char* wanted, const std::string& name)
{
    return !wanted || !*wanted || strcasecmp(wanted, name.c_str()) == 0;
}

void SetError(DWORD instance, UINT error)
{
    auto found = Instances().find(instance);
    if (found != Instances().end())
        found->second = error;
}

bool Registered(const DdeServer* server)
{
    for (const Registration& r : Servers())
        if (r.server == server)
            return true;
    return false;
}

} // namespace

void DdeRegisterServer(const std::string& service, DdeServer* server)
{
    Servers().push_back({service, server});
}

void DdeUnregisterServer(DdeServer* server)
{
    std::erase_if(Servers(), [server](const Registration& r) { return r.server == server; });
}

UINT DdeInitialize(DWORD* instance, DWORD /*flags*/)
{
    if (!instance)
        return DMLERR_INVALIDPARAMETER;
    *instance = g_nextInstance++;
    Instances()[*instance] = DMLERR_NO_ERROR;
    return DMLERR_NO_ERROR;
}

bool DdeUninitialize(DWORD instance)
{
    return Instances().erase(instance) != 0;
}

HCONV DdeConnect(DWORD instance, const char* service, const char* topic)
{
    if (!Instances().count(instance))
        return nullptr;
    for (const Registration& r : Servers()) {
        if (Matches(service, r.service) && r.server->Connect(topic ? topic : "")) {
            return new DdeConversation{instance, r.service, topic ? topic : "", r.server};
        }
    }
    SetError(instance, DMLERR_NO_CONV_ESTABLISHED);
    return nullptr;
}

bool DdeDisconnect(HCONV conversation)
{
    if (!conversation)
        return false;
    delete conversation;
    return true;
}

std::optional<std::string> DdeClientTransaction(HCONV conversation, const char* item, UINT format, UINT type,
                                                DWORD /*timeoutMs*/)
{
    if (!conversation || !item || type != XTYP_REQUEST)
        return std::nullopt;
    if (!Registered(conversation->server)) {
        SetError(conversation->instance, DMLERR_SERVER_DIED);
        return std::nullopt;
    }
    DdeServer::Reply reply = conversation->server->Request(conversation->topic, item, format);
    if (!reply.data)
        SetError(conversation->instance, reply.error);
    return std::move(reply.data);
}

UINT DdeGetLastError(DWORD instance)
{
    auto found = Instances().find(instance);
    if (found == Instances().end())
        return DMLERR_DLL_NOT_INITIALIZED;
    const UINT error = found->second;
    found->second = DMLERR_NO_ERROR;
    return error;
}

} // namespace kitefly
