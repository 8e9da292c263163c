#include "app/build/linked_files.h"

#include <filesystem>
#include <string_view>

#include "platform/win/codepage1252.h"
#include "platform/win/path.h"

namespace {

bool IsTargetTaken(const std::string& name)
{
    for (const LinkedFile& file : GetLinkedFiles())
        if (EqualNoCase1252(file.targetName, name))
            return true;
    return false;
}

// The bytes a file address keeps as they are in its path.
bool IsAddressPathByte(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    return std::string_view("-._~/!$'()*+,;=:@").find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

std::vector<LinkedFile>& GetLinkedFiles()
{
    static std::vector<LinkedFile> files;
    return files;
}

const LinkedFile* FindLinkedFile(const std::string& path)
{
    for (const LinkedFile& file : GetLinkedFiles())
        if (EqualNoCase1252(file.sourcePath, path))
            return &file;
    return nullptr;
}

bool AddLinkedFile(const std::string& path)
{
    if (FindLinkedFile(path))
        return true;
    std::string title, extension;
    SplitPath(path, nullptr, nullptr, &title, &extension);
    std::string name = title + extension;
    for (int counter = 0; IsTargetTaken(name); ++counter) {
        if (counter > 32767)
            return false;
        name = title + std::to_string(counter) + extension;
    }
    GetLinkedFiles().push_back({path, name});
    return true;
}

std::string LocalFileAddress(const std::string& path)
{
    if (path.empty())
        return {};
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    const std::string& full = absolute.empty() ? path : absolute.native();
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string address = "file://";
    for (const char byte : full) {
        const auto c = static_cast<unsigned char>(byte);
        if (IsAddressPathByte(c)) {
            address += byte;
        } else {
            address += '%';
            address += kHex[c >> 4];
            address += kHex[c & 15];
        }
    }
    return address;
}
