#include "browser/memory.h"

#include "browser/report.h"

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <unordered_set>

namespace kitefly {

namespace {

constexpr const char* kMemoryFile = "memory";

int gnInitCount = 0;
int gnBlockCount = 0;
void* g_pReserve = nullptr;

struct HandlerNode
{
    LowMemoryHandler handler;
    HandlerNode* next;
};
HandlerNode* g_pHandlers = nullptr;

// The heap stand-in and what tests put in its place. The manager's state lives on the heap for the whole process,
// so that the library's unload can still stop it after static objects are gone.
std::function<void*(std::size_t)>& HeapAllocator()
{
    static auto& allocate = *new std::function<void*(std::size_t)>;
    return allocate;
}

std::function<void(void*)>& HeapRelease()
{
    static auto& release = *new std::function<void(void*)>;
    return release;
}

// Blocks handed out and not yet freed: a pointer that is not one of them is refused instead of being freed.
std::unordered_set<void*>& LiveBlocks()
{
    static auto& blocks = *new std::unordered_set<void*>;
    return blocks;
}

void* HeapAlloc(std::size_t size)
{
    if (HeapAllocator())
        return HeapAllocator()(size);
    return std::malloc(size);
}

void HeapFree(void* block)
{
    if (HeapRelease())
        HeapRelease()(block);
    else
        std::free(block);
}

int LowMemoryPrompt()
{
    if (!g_pReserve)
        return 0;
    const int answer = ShowMessageBox("Memory is critically low! Close other applications to free\nsome memory. As a "
                                      "last resort, you can use some memory held\nby Quillon. Would you like to use "
                                      "up this memory?",
                                      "Quillon Memory Manager", MB_YESNO | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    if (answer != IDYES)
        return 0;
    HeapFree(g_pReserve);
    g_pReserve = nullptr;
    return 1;
}

} // namespace

int MemStart(void* /*module*/)
{
    KF_ASSERT(gnInitCount == 0, "gnInitCount == 0", kMemoryFile);
    if (gnInitCount++ > 0)
        return 1;
    gnBlockCount = 0;
    g_pReserve = HeapAlloc(kMemoryReserveSize);
    const bool added = AddLowMemoryHandler(LowMemoryPrompt) != 0;
    return g_pReserve && added ? 1 : 0;
}

void MemStop()
{
    KF_ASSERT(gnInitCount > 0, "gnInitCount > 0", kMemoryFile);
    if (gnInitCount-- != 1)
        return;
    if (g_pReserve)
        HeapFree(g_pReserve);
    g_pReserve = nullptr;
    while (g_pHandlers) {
        HandlerNode* next = g_pHandlers->next;
        delete g_pHandlers;
        g_pHandlers = next;
    }
    KF_ASSERT(gnBlockCount == 0, "gnBlockCount == 0", kMemoryFile);
}

int AddLowMemoryHandler(LowMemoryHandler handler)
{
    KF_ASSERT(handler && gnInitCount, "func && gnInitCount", kMemoryFile);
    if (!handler)
        return 0;
    auto* node = new (std::nothrow) HandlerNode{handler, g_pHandlers};
    if (!node)
        return 0;
    g_pHandlers = node;
    return 1;
}

int MemAlloc(std::size_t nSize, void** ppvNewBlock)
{
    KF_ASSERT(ppvNewBlock && nSize > 0 && gnInitCount, "ppvNewBlock && nSize > 0 && gnInitCount", kMemoryFile);
    if (!ppvNewBlock)
        return 0;
    *ppvNewBlock = nullptr;
    if (nSize == 0)
        return 0;
    HandlerNode* next = g_pHandlers;
    void* block = HeapAlloc(nSize);
    while (!block && next) {
        const LowMemoryHandler handler = next->handler;
        next = next->next;
        if (handler())
            block = HeapAlloc(nSize);
    }
    if (!block)
        return 0;
    std::memset(block, kMemoryMarker, malloc_usable_size(block));
    LiveBlocks().insert(block);
    ++gnBlockCount;
    *ppvNewBlock = block;
    return 1;
}

bool VerifyBlockPtr(void** ppvBlock)
{
    return ppvBlock && *ppvBlock && LiveBlocks().count(*ppvBlock) != 0;
}

int MemFree(void** ppvBlock)
{
    const bool valid = VerifyBlockPtr(ppvBlock);
    KF_ASSERT(valid && gnInitCount, "VerifyBlockPtr(ppvBlock) && gnInitCount", kMemoryFile);
    if (!valid)
        return 0;
    void* block = *ppvBlock;
    std::memset(block, kMemoryMarker, malloc_usable_size(block));
    LiveBlocks().erase(block);
    HeapFree(block);
    *ppvBlock = nullptr;
    --gnBlockCount;
    return 1;
}

namespace detail {

void SetHeap(std::function<void*(std::size_t)> allocate, std::function<void(void*)> release)
{
    HeapAllocator() = std::move(allocate);
    HeapRelease() = std::move(release);
}

int BlockCount()
{
    return gnBlockCount;
}

bool ReserveHeld()
{
    return g_pReserve != nullptr;
}

} // namespace detail

} // namespace kitefly
