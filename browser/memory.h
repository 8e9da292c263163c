#pragma once

// The library's block allocator: every block is counted, filled with a marker byte when it is handed out and again
// when it is freed, and a reserve is held back that the user may give up when memory runs out.

#include <cstddef>
#include <functional>

namespace kitefly {

constexpr unsigned char kMemoryMarker = 0xA3;
constexpr std::size_t kMemoryReserveSize = 4096;

// A low-memory handler frees what it can; nonzero when it freed something, so the allocation is tried again.
using LowMemoryHandler = int (*)();

int MemStart(void* module);
void MemStop();
int AddLowMemoryHandler(LowMemoryHandler handler);
int MemAlloc(std::size_t nSize, void** ppvNewBlock);
int MemFree(void** ppvBlock);
// The pointer can be read and names a block this manager handed out and has not freed.
bool VerifyBlockPtr(void** ppvBlock);

namespace detail {
// The heap the manager allocates from and frees to; tests put in one that fails or looks at what is freed. Both
// must hand on to malloc and free; empty functions put them back.
void SetHeap(std::function<void*(std::size_t)> allocate, std::function<void(void*)> release);
int BlockCount();
bool ReserveHeld();
} // namespace detail

} // namespace kitefly
