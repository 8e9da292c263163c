#include <cstring>

#include "image/image.h"

namespace {

const LutColor kFixed20[20] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {0, 128, 128},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

const unsigned char kGreys40[40] = {0,   6,   13,  19,  26,  32,  39,  45,  52,  58,  65,  71,  78,  85,
                                    91,  98,  104, 111, 117, 124, 130, 137, 143, 150, 156, 163, 170, 176,
                                    183, 189, 196, 202, 209, 215, 222, 228, 235, 241, 248, 255};

const unsigned char kGreys20[20] = {0,   13,  26,  40,  53,  67,  80,  93,  107, 120,
                                    134, 147, 161, 174, 187, 201, 214, 228, 241, 255};

const unsigned char kRunLevels[10] = {238, 221, 187, 170, 136, 119, 85, 68, 34, 17};

// Entry 36r + 6g + b of the colour cube, ascending: (51r, 51g, 51b); descending: 255 minus that.
LutColor CubeEntry(int index, bool descending)
{
    int r = index / 36, g = (index / 6) % 6, b = index % 6;
    auto level = [descending](int v) { return static_cast<unsigned char>(descending ? 255 - 51 * v : 51 * v); };
    return {level(r), level(g), level(b)};
}

LutColor Grey(unsigned char v)
{
    return {v, v, v};
}

} // namespace

CLut::CLut() : m_count(0)
{
    std::memset(m_entries, 0, sizeof(m_entries));
}

CLut::CLut(lutName name) : CLut()
{
    switch (name) {
    case LUT_CUBE_AND_GREYS:
        for (int i = 0; i < 216; ++i)
            m_entries[i] = CubeEntry(i, false);
        for (int i = 0; i < 40; ++i)
            m_entries[216 + i] = Grey(kGreys40[i]);
        m_count = 256;
        break;
    case LUT_CUBE_DESCENDING:
        for (int i = 0; i < 216; ++i)
            m_entries[i] = CubeEntry(i, true);
        m_count = 216;
        break;
    case LUT_GREY_RAMP:
        for (int i = 0; i < 256; ++i)
            m_entries[i] = Grey(static_cast<unsigned char>(i));
        m_count = 256;
        break;
    case LUT_FIXED_20:
        for (int i = 0; i < 20; ++i)
            m_entries[i] = kFixed20[i];
        m_count = 20;
        break;
    case LUT_SYSTEM:
        for (int i = 0; i < 10; ++i)
            m_entries[i] = kFixed20[i];
        for (int i = 0; i < 216; ++i)
            m_entries[10 + i] = CubeEntry(i, true);
        for (int i = 0; i < 20; ++i)
            m_entries[226 + i] = Grey(kGreys20[i]);
        for (int i = 0; i < 10; ++i)
            m_entries[246 + i] = kFixed20[10 + i];
        m_count = 256;
        break;
    case LUT_CUBE_AND_RUNS:
        for (int i = 0; i < 215; ++i)
            m_entries[i] = CubeEntry(i, true);
        for (int i = 0; i < 10; ++i) {
            unsigned char l = kRunLevels[i];
            m_entries[215 + i] = {l, 0, 0};
            m_entries[225 + i] = {0, l, 0};
            m_entries[235 + i] = {0, 0, l};
            m_entries[245 + i] = Grey(l);
        }
        m_entries[255] = {0, 0, 0};
        m_count = 256;
        break;
    default:
        break;
    }
}

CLut::CLut(const CLut& other) : CLut()
{
    m_count = other.m_count;
    std::memcpy(m_entries, other.m_entries, sizeof(LutColor) * static_cast<size_t>(m_count));
}

CLut& CLut::operator=(const CLut& other)
{
    if (this != &other) {
        m_count = other.m_count;
        std::memcpy(m_entries, other.m_entries, sizeof(LutColor) * static_cast<size_t>(m_count));
    }
    return *this;
}

const LutColor& CLut::operator[](unsigned int i) const
{
    if (i >= static_cast<unsigned int>(m_count))
        throw std::out_of_range("in CLut::operator []");
    return m_entries[i];
}

LutColor& CLut::operator[](unsigned int i)
{
    if (i >= 256)
        throw std::out_of_range("in CLut::operator []");
    if (i >= static_cast<unsigned int>(m_count))
        m_count = static_cast<int>(i) + 1;
    return m_entries[i];
}
