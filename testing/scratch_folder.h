#pragma once

// A fresh, empty folder for one test, removed with everything in it when the object goes. Its path ends with '/'.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "pelorin-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a scratch folder");
        m_path = pattern + "/";
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // The path of a name inside the folder.
    std::string operator/(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};
