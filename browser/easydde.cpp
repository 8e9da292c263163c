#include "browser/easydde.h"

#include "browser/report.h"

#include <strings.h>

#include <cstdio>

namespace kitefly {

namespace {

constexpr const char* kEasyDdeFile = "easydde";

DWORD g_dwDDEInst = 0;
int g_nInitCount = 0;

struct ErrorRow
{
    UINT code;
    const char* name;
    const char* description;
};

const ErrorRow kErrors[] = {
    {DMLERR_NO_ERROR, "DMLERR_NO_ERROR", nullptr},
    {DMLERR_ADVACKTIMEOUT, "DMLERR_ADVACKTIMEOUT", "A request for a synchronous advise transaction has timed out"},
    {DMLERR_BUSY, "DMLERR_BUSY", "The response to the transaction caused the DDE_FBUSY bit to be set"},
    {DMLERR_DATAACKTIMEOUT, "DMLERR_DATAACKTIMEOUT", "A request for a synchronous data transaction has timed out"},
    {DMLERR_DLL_NOT_INITIALIZED, "DMLERR_DLL_NOT_INITIALIZED",
     "A DDEML function was called without first calling the DdeInitialize function, or an invalid instance "
     "identifier was passed to a DDEML function"},
    {DMLERR_DLL_USAGE, "DMLERR_DLL_USAGE",
     "An application initialized as APPCLASS_MONITOR has attempted to perform a DDE transaction, or an application "
     "initialized as APPCMD_CLIENTONLY has attempted to perform server transactions"},
    {DMLERR_EXECACKTIMEOUT, "DMLERR_EXECACKTIMEOUT", "A request for a synchronous execute transaction has timed out"},
    {DMLERR_INVALIDPARAMETER, "DMLERR_INVALIDPARAMETER",
     "A parameter failed to be validated by the DDEML. See Windows help for causes"},
    {DMLERR_LOW_MEMORY, "DMLERR_LOW_MEMORY",
     "A DDEML application has created a prolonged race condition (where the server application outruns the "
     "client), causing large amounts of memory to be consumed"},
    {DMLERR_MEMORY_ERROR, "DMLERR_MEMORY_ERROR", "A memory allocation failed"},
    {DMLERR_NO_CONV_ESTABLISHED, "DMLERR_NO_CONV_ESTABLISHED",
     "A client's attempt to establish a conversation has failed"},
    {DMLERR_NOTPROCESSED, "DMLERR_NOTPROCESSED", "A transaction failed"},
    {DMLERR_POKEACKTIMEOUT, "DMLERR_POKEACKTIMEOUT", "A request for a synchronous poke transaction has timed out"},
    {DMLERR_POSTMSG_FAILED, "DMLERR_POSTMSG_FAILED", "An internal call to the PostMessage function has failed"},
    {DMLERR_REENTRANCY, "DMLERR_REENTRANCY",
     "An application instance with a synchronous transaction already in progress attempted to initiate another "
     "synchronous transaction, or the DdeEnableCallback function was called from within a DDEML callback function"},
    {DMLERR_SERVER_DIED, "DMLERR_SERVER_DIED",
     "A server-side transaction was attempted on a conversation that was terminated by the client, or the server "
     "terminated before completing a transaction"},
    {DMLERR_SYS_ERROR, "DMLERR_SYS_ERROR", "An internal error has occurred in the DDEML"},
    {DMLERR_UNADVACKTIMEOUT, "DMLERR_UNADVACKTIMEOUT", "A request to end an advise transaction has timed out"},
    {DMLERR_UNFOUND_QUEUE_ID, "DMLERR_UNFOUND_QUEUE_ID",
     "An invalid transaction identifier was passed to a DDEML function. Once the application has returned from an "
     "XTYP_XACT_COMPLETE callback, the transaction identifier for that callback is no longer valid"},
};

} // namespace

int DdeClientStart(void* /*module*/)
{
    KF_ASSERT(g_nInitCount == 0, "g_nInitCount == 0", kEasyDdeFile);
    if (g_nInitCount++ > 0)
        return 1;
    return DdeInitialize(&g_dwDDEInst, CBF_CLIENT_FLAGS) == DMLERR_NO_ERROR ? 1 : 0;
}

int DdeClientStop()
{
    KF_ASSERT(g_nInitCount > 0, "g_nInitCount > 0", kEasyDdeFile);
    if (g_nInitCount-- != 1)
        return 0;
    int result = 0;
    if (g_dwDDEInst) {
        result = DdeUninitialize(g_dwDDEInst) ? 1 : 0;
        g_dwDDEInst = 0;
    }
    return result;
}

HCONV DdeClientOpen(const char* service, const char* topic, bool report)
{
    KF_ASSERT(g_dwDDEInst, "g_dwDDEInst", kEasyDdeFile);
    if (!g_dwDDEInst)
        return nullptr;
    HCONV conversation = DdeConnect(g_dwDDEInst, service, topic);
    if (!conversation && report)
        ShowDdeError();
    return conversation;
}

void DdeClientClose(HCONV conversation)
{
    if (!DdeDisconnect(conversation))
        ShowDdeError();
}

std::optional<std::string> DdeClientRequest(HCONV conversation, const char* item, UINT format)
{
    std::optional<std::string> reply = DdeClientTransaction(conversation, item, format, XTYP_REQUEST, kDdeTimeoutMs);
    if (!reply)
        ShowDdeError();
    return reply;
}

std::string DdeErrorText(UINT code)
{
    for (const ErrorRow& row : kErrors) {
        if (row.code != code)
            continue;
        if (!row.description)
            return row.name;
        return std::string(row.name) + "\r\n\r\n" + row.description;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Unknown error code : %lu", static_cast<unsigned long>(code));
    return text;
}

void ShowDdeError()
{
    ShowMessageBox(DdeErrorText(DdeGetLastError(g_dwDDEInst)), "DDEML Error", MB_OK | MB_TASKMODAL);
}

} // namespace kitefly
