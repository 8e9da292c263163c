#include "app/model/file_pair.h"

#include <gtest/gtest.h>

TEST(FilePair, LocksAndCopies)
{
    CFilePair pair("/home/u/doc.pdf", "/files/doc.pdf");
    EXPECT_EQ(pair.m_dwFlags, 0u);
    SetAllFileLocks(pair.m_dwFlags);
    EXPECT_EQ(pair.m_dwFlags, 7u);

    CFilePair copy(pair);
    EXPECT_EQ(copy.m_dwFlags, 7u);
    EXPECT_EQ(copy.m_strSource, "/home/u/doc.pdf");
    EXPECT_EQ(copy.m_strTarget, "/files/doc.pdf");
    ClearFileLocks(copy.m_dwFlags);
    EXPECT_EQ(copy.m_dwFlags, 0u);
}

TEST(FilePair, EachLockTestSeesOnlyItsBit)
{
    const struct
    {
        DWORD flags;
        bool lock1, lock2, lock4;
    } cases[] = {
        {0, false, false, false}, {1, true, false, false},
        {2, false, true, false},  {4, false, false, true},
        {7, true, true, true},    {0xFFFFFFF8u, false, false, false},
        {5, true, false, true},   {0x80000002u, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        EXPECT_EQ(IsFileLock1(c.flags) != 0, c.lock1);
        EXPECT_EQ(IsFileLock2(c.flags) != 0, c.lock2);
        EXPECT_EQ(IsFileLock4(c.flags) != 0, c.lock4);
    }
}
