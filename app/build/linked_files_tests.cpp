#include "app/build/linked_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

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

// A page shown from this computer links a document by a file address that leads to it whatever its name holds.
TEST(LinkedFiles, TheLocalAddressOfADocumentEscapesWhatABrowserWouldMisread)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/home/u/Report.pdf", "file:///home/u/Report.pdf"},
        {"/home/u/Price list #1.pdf", "file:///home/u/Price%20list%20%231.pdf"},
        {"/d/50%?a&b\"c<d>e\\f", "file:///d/50%25%3Fa%26b%22c%3Cd%3Ee%5Cf"},
        {"/d/caf\xC3\xA9 \xE9.txt", "file:///d/caf%C3%A9%20%E9.txt"}, // the file system's bytes, as they are
        {"/d/a-b_c.d~e!$'()*+,;=:@", "file:///d/a-b_c.d~e!$'()*+,;=:@"},
        {"", ""},
    };
    for (const auto& [path, address] : cases)
        EXPECT_EQ(LocalFileAddress(path), address) << path;
    // A relative path is the one the existence check saw, from the current folder.
    EXPECT_EQ(LocalFileAddress("doc.txt"), "file://" + (std::filesystem::current_path() / "doc.txt").string());
}

} // namespace
