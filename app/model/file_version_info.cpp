#include "app/model/file_version_info.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// Larger files are no desktop entry; reading them whole would only cost memory.
constexpr std::streamoff kMaxEntryBytes = 1 << 20;

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Undoes the escapes a desktop entry's string values may hold.
std::string Unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        switch (text[++i]) {
        case 's':
            out.push_back(' ');
            break;
        case 'n':
            out.push_back('\n');
            break;
        case 't':
            out.push_back('\t');
            break;
        case 'r':
            out.push_back('\r');
            break;
        default:
            out.push_back(text[i]);
            break;
        }
    }
    return out;
}

} // namespace

bool CFileVersionInfo::Load(const std::string& path)
{
    m_strings = {};
    m_commandLine.clear();
    // A folder or a pipe is no entry, and opening a pipe would wait for a writer.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || size > kMaxEntryBytes)
        return false;
    file.seekg(0);
    std::ostringstream text;
    text << file.rdbuf();
    return LoadFromText(text.str());
}

bool CFileVersionInfo::LoadFromText(const std::string& text)
{
    m_strings = {};
    m_commandLine.clear();
    std::string name;
    std::string version;
    bool inEntry = false;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const size_t equals = line.find('=');
        if (!inEntry || equals == std::string::npos)
            continue;
        const std::string key = Trim(line.substr(0, equals));
        const std::string value = Unescape(Trim(line.substr(equals + 1)));
        if (key == "Name")
            name = value;
        else if (key == "Version")
            version = value;
        else if (key == "Exec")
            m_commandLine = value;
    }
    if (name.empty())
        return false;
    m_strings[fileDescription] = name;
    m_strings[productName] = name;
    m_strings[fileVersion] = version;
    m_strings[productVersion] = version;
    return true;
}

std::string CFileVersionInfo::GetString(int index) const
{
    if (index < 0 || index >= stringCount)
        return {};
    return m_strings[index];
}
