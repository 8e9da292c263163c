#pragma once

// The conversation bus: an in-process stand-in for the dynamic data exchange library. Servers register under a
// service name; a client instance connects to a service on a topic and sends synchronous requests for items.
// Names compare without regard to case, and an empty service or topic matches any.

#include <cstdint>
#include <optional>
#include <string>

namespace kitefly {

using DWORD = std::uint32_t;
using UINT = unsigned;
struct DdeConversation;
using HCONV = DdeConversation*;

enum : UINT
{
    DMLERR_NO_ERROR = 0x0000,
    DMLERR_ADVACKTIMEOUT = 0x4000,
    DMLERR_BUSY = 0x4001,
    DMLERR_DATAACKTIMEOUT = 0x4002,
    DMLERR_DLL_NOT_INITIALIZED = 0x4003,
    DMLERR_DLL_USAGE = 0x4004,
    DMLERR_EXECACKTIMEOUT = 0x4005,
    DMLERR_INVALIDPARAMETER = 0x4006,
    DMLERR_LOW_MEMORY = 0x4007,
    DMLERR_MEMORY_ERROR = 0x4008,
    DMLERR_NOTPROCESSED = 0x4009,
    DMLERR_NO_CONV_ESTABLISHED = 0x400a,
    DMLERR_POKEACKTIMEOUT = 0x400b,
    DMLERR_POSTMSG_FAILED = 0x400c,
    DMLERR_REENTRANCY = 0x400d,
    DMLERR_SERVER_DIED = 0x400e,
    DMLERR_SYS_ERROR = 0x400f,
    DMLERR_UNADVACKTIMEOUT = 0x4010,
    DMLERR_UNFOUND_QUEUE_ID = 0x4011,
};

enum : UINT
{
    CF_TEXT = 1,
    XTYP_REQUEST = 0x20B0,
    CBF_CLIENT_FLAGS = 0x003F5000,
};

// A server on the bus. It is asked whether it takes a conversation on a topic, then for the items requested in it.
class DdeServer
{
public:
    virtual ~DdeServer() = default;
    virtual bool Connect(const std::string& topic) = 0;
    // The data of the item, or nothing with the error the client then reads (a transaction that failed).
    struct Reply
    {
        std::optional<std::string> data;
        UINT error = DMLERR_NOTPROCESSED;
    };
    virtual Reply Request(const std::string& topic, const std::string& item, UINT format) = 0;
};

// Servers are not owned; a server unregisters before it goes.
void DdeRegisterServer(const std::string& service, DdeServer* server);
void DdeUnregisterServer(DdeServer* server);

UINT DdeInitialize(DWORD* instance, DWORD flags);
bool DdeUninitialize(DWORD instance);
// The conversation, or null with DMLERR_NO_CONV_ESTABLISHED (or DMLERR_DLL_NOT_INITIALIZED) as the last error.
HCONV DdeConnect(DWORD instance, const char* service, const char* topic);
bool DdeDisconnect(HCONV conversation);
// A synchronous request; the time-out is how long the client would wait for an answer.
std::optional<std::string> DdeClientTransaction(HCONV conversation, const char* item, UINT format, UINT type,
                                                DWORD timeoutMs);
// The instance's last error, which is then cleared.
UINT DdeGetLastError(DWORD instance);

} // namespace kitefly
