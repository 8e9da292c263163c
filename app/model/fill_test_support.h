#pragma once

// Helpers of the fill tests: a picture whose pixels tell where they came from, a pixel reader, a gradient, and a
// folder of the running test's own for picture files.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/model/gradient_info.h"
#include "image/image.h"
#include "platform/win/win_types.h"

// A picture whose pixel (x, y) is (x, y, x + y) in the low bytes, so that a moved or lost pixel shows.
inline std::unique_ptr<CImage> Picture(int w, int h, IMAGE_MODE mode = IMAGE_MODE_RGB)
{
    auto image = std::make_unique<CImage>(mode, w, h);
    CPixMap map(IMAGE_MODE_RGB, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = map.Sample(x, y, 0);
            p[0] = static_cast<unsigned char>(x);
            p[1] = static_cast<unsigned char>(y);
            p[2] = static_cast<unsigned char>(x + y);
        }
    image->SetBuf(0, 0, map);
    return image;
}

// The colour of pixel (x, y) of an RGB image.
inline COLORREF ColorAt(const CImage& image, int x, int y)
{
    CPixMap map(IMAGE_MODE_RGB, 1, 1);
    image.GetBuf(x, y, map);
    return RGB(map.Sample(0, 0, 0)[0], map.Sample(0, 0, 1)[0], map.Sample(0, 0, 2)[0]);
}

inline CGradientInfo BlackToWhite()
{
    CGradientInfo g;
    CGradientModel::GetPredefinedGradient(g, 1);
    return g;
}

// An empty folder in the temp directory, named after the process and the running test so that parallel runs do
// not meet, and removed with this object.
class TestFolder
{
public:
    explicit TestFolder(const std::string& prefix)
        : m_path(std::filesystem::temp_directory_path() /
                 (prefix + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TestFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
