#include "browser/browser_test_support.h"

#include <malloc.h>

#include <cstdlib>
#include <cstring>

using namespace kitefly;
using namespace kitefly::test;

namespace {

class MemoryManager : public LibraryTest
{
protected:
    MemoryManager()
    {
        detail::SetHeap(
            [this](std::size_t size) {
                if (failures > 0) {
                    --failures;
                    return static_cast<void*>(nullptr);
                }
                return std::malloc(size);
            },
            [this](void* block) {
                // What every byte of a block reads as it goes back to the heap.
                const std::size_t size = malloc_usable_size(block);
                released.push_back(size);
                allMarked = allMarked &&
                            std::all_of(static_cast<unsigned char*>(block), static_cast<unsigned char*>(block) + size,
                                        [](unsigned char c) { return c == kMemoryMarker; });
                std::free(block);
            });
    }
    ~MemoryManager() override { detail::SetHeap({}, {}); }

    int failures = 0;
    std::vector<std::size_t> released;
    bool allMarked = true;
};

TEST_F(MemoryManager, BlocksReadTheMarkerWhenHandedOutAndWhenFreed)
{
    ASSERT_EQ(MemStart(nullptr), 1);
    void* block = nullptr;
    ASSERT_EQ(MemAlloc(100, &block), 1);
    ASSERT_NE(block, nullptr);
    const auto* bytes = static_cast<unsigned char*>(block);
    EXPECT_TRUE(std::all_of(bytes, bytes + 100, [](unsigned char c) { return c == 0xA3; }));
    EXPECT_EQ(detail::BlockCount(), 1);

    std::memset(block, 0, 100);
    EXPECT_EQ(MemFree(&block), 1);
    EXPECT_EQ(block, nullptr);
    EXPECT_TRUE(allMarked);
    EXPECT_EQ(detail::BlockCount(), 0);
    MemStop();
    EXPECT_TRUE(asserts.empty());
}

TEST_F(MemoryManager, TheReserveIsOfferedOnceWhenMemoryRunsOut)
{
    ASSERT_EQ(MemStart(nullptr), 1);
    boxAnswer = IDYES;
    failures = 1;
    void* block = nullptr;
    ASSERT_EQ(MemAlloc(64, &block), 1) << "given up, the reserve makes room and the allocation is tried again";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Quillon Memory Manager");
    EXPECT_EQ(boxes[0].text, "Memory is critically low! Close other applications to free\nsome memory. As a last "
                             "resort, you can use some memory held\nby Quillon. Would you like to use up this memory?");
    EXPECT_EQ(boxes[0].style, MB_YESNO | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    EXPECT_FALSE(detail::ReserveHeld());
    ASSERT_EQ(released.size(), 1u);
    EXPECT_GE(released[0], kMemoryReserveSize) << "the heap's size of the reserve";

    failures = 1;
    void* second = &block;
    EXPECT_EQ(MemAlloc(64, &second), 0);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(boxes.size(), 1u) << "with the reserve gone the user is not asked again";

    MemFree(&block);
    MemStop();
}

TEST_F(MemoryManager, NoKeepsTheReserveAndFailsTheAllocation)
{
    ASSERT_EQ(MemStart(nullptr), 1);
    boxAnswer = IDNO;
    failures = 1;
    void* block = nullptr;
    EXPECT_EQ(MemAlloc(64, &block), 0);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(detail::ReserveHeld());
    MemStop();
}

std::vector<char> g_handlerCalls;
int FreesNothing()
{
    g_handlerCalls.push_back('a');
    return 0;
}
int FreesSomething()
{
    g_handlerCalls.push_back('b');
    return 1;
}

TEST_F(MemoryManager, EachHandlerIsTriedOnceNewestFirst)
{
    ASSERT_EQ(MemStart(nullptr), 1);
    g_handlerCalls.clear();
    ASSERT_EQ(AddLowMemoryHandler(FreesNothing), 1);
    ASSERT_EQ(AddLowMemoryHandler(FreesSomething), 1);
    boxAnswer = IDYES;
    failures = 2;
    void* block = nullptr;
    EXPECT_EQ(MemAlloc(16, &block), 1);
    EXPECT_EQ(g_handlerCalls, (std::vector<char>{'b', 'a'})) << "a retry only after a handler that freed something";
    EXPECT_EQ(boxes.size(), 1u) << "the prompt, registered first, comes last and frees the reserve";

    g_handlerCalls.clear();
    failures = 100;
    void* second = nullptr;
    EXPECT_EQ(MemAlloc(16, &second), 0);
    EXPECT_EQ(g_handlerCalls, (std::vector<char>{'b', 'a'}));
    EXPECT_EQ(boxes.size(), 1u);
    failures = 0;
    MemFree(&block);
    MemStop();
}

TEST_F(MemoryManager, ABlockLeftAtTheLastStopIsReported)
{
    ASSERT_EQ(MemStart(nullptr), 1);
    void* block = nullptr;
    ASSERT_EQ(MemAlloc(8, &block), 1);
    MemStop();
    EXPECT_EQ(asserts, std::vector<std::string>{"gnBlockCount == 0"});
    MemFree(&block);
}

TEST_F(MemoryManager, APointerItDidNotHandOutIsRefused)
{
    ASSERT_EQ(MemStart(nullptr), 1);
    int local = 7;
    void* foreign = &local;
    EXPECT_EQ(MemFree(&foreign), 0);
    EXPECT_EQ(foreign, &local);
    EXPECT_TRUE(released.empty());
    void* block = nullptr;
    ASSERT_EQ(MemAlloc(8, &block), 1);
    void* copy = block;
    EXPECT_EQ(MemFree(&block), 1);
    EXPECT_EQ(MemFree(&copy), 0) << "a block freed once is not freed again";
    MemStop();
}

TEST_F(MemoryManager, AStartWithoutItsReserveFails)
{
    failures = 1;
    EXPECT_EQ(MemStart(nullptr), 0);
    MemStop();
}

} // namespace
