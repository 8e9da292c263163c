#include "app/build/linked_files.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkedFiles, SameNamesFromOtherFoldersGetTheFirstFreeNumber)
{
    GetLinkedFiles().clear();
    const std::vector<std::pair<std::string, std::string>> added = {
        {"/a/photo.jpg", "photo.jpg"},
        {"/b/Photo.jpg", "Photo0.jpg"},
        {"/c/photo.jpg", "photo1.jpg"},
        {"/d/photo0.jpg", "photo00.jpg"}, // its own name was given to another as a numbered name
        {"C:\\docs\\price list.pdf", "price list.pdf"},
        {"/e/README", "README"},
        {"/f/readme", "readme0"},
    };
    for (const auto& [path, name] : added) {
        ASSERT_TRUE(AddLinkedFile(path));
        ASSERT_TRUE(FindLinkedFile(path)) << path;
        EXPECT_EQ(FindLinkedFile(path)->targetName, name) << path;
    }
    // A document already listed, in any case, keeps its name and is not listed twice.
    const size_t count = GetLinkedFiles().size();
    EXPECT_TRUE(AddLinkedFile("/B/PHOTO.JPG"));
    EXPECT_EQ(GetLinkedFiles().size(), count);
    EXPECT_EQ(FindLinkedFile("/b/photo.jpg")->targetName, "Photo0.jpg");
    EXPECT_EQ(FindLinkedFile("/z/none.pdf"), nullptr);
    GetLinkedFiles().clear();
}

} // namespace
