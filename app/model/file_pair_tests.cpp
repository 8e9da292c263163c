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
