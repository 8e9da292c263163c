#include "app/model/page_size.h"

#include <array>
#include <climits>
#include <cstdio>

#include "platform/win/leading_number.h"

namespace {

struct Preset
{
    int width;
    int height;
};
constexpr std::array<Preset, 3> kPagePresets = {{{400, 400}, {640, 480}, {740, 600}}};
constexpr std::array<Preset, 3> kDefaultsPresets = {{{400, 400}, {400, 600}, {600, 800}}};

const std::array<Preset, 3>& Presets(PageSizePresets presets)
{
    return presets == PageSizePresets::pageDefaults ? kDefaultsPresets : kPagePresets;
}

int PresetIndex(const std::array<Preset, 3>& sizes, int width, int height)
{
    for (size_t i = 0; i < sizes.size(); ++i)
        if (sizes[i].width == width && sizes[i].height == height)
            return static_cast<int>(i);
    return -1;
}

} // namespace

int ClampPageWidth(int width)
{
    return width <= kMinPageSide ? kMinPageSide : width >= kMaxPageWidth ? kMaxPageWidth : width;
}

int ClampPageHeight(int height)
{
    return height <= kMinPageSide ? kMinPageSide : height >= kMaxPageHeight ? kMaxPageHeight : height;
}

bool IsPageSizeInRange(int width, int height)
{
    return width >= kMinPageSide && width <= kMaxPageWidth && height >= kMinPageSide && height <= kMaxPageHeight;
}

int ReadTypedNumber(const std::string& text)
{
    const long long value = LeadingNumber(text);
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

std::string FormatPageSize(int width, int height)
{
    char text[40];
    std::snprintf(text, sizeof text, "%d x %d", width, height);
    return text;
}

SizePresetList BuildSizePresetList(int width, int height, PageSizePresets presets)
{
    const std::array<Preset, 3>& sizes = Presets(presets);
    SizePresetList list;
    const int preset = PresetIndex(sizes, width, height);
    if (preset < 0)
        list.entries.push_back(FormatPageSize(width, height));
    for (const Preset& size : sizes)
        list.entries.push_back(FormatPageSize(size.width, size.height));
    list.selection = preset < 0 ? 0 : preset;
    return list;
}

bool SizeOfPresetEntry(int index, int entryCount, int& width, int& height, PageSizePresets presets)
{
    const std::array<Preset, 3>& sizes = Presets(presets);
    if (entryCount == 4) {
        if (index == 0)
            return false;
        --index;
    }
    if (index < 0 || index >= static_cast<int>(sizes.size()))
        return false;
    width = sizes[static_cast<size_t>(index)].width;
    height = sizes[static_cast<size_t>(index)].height;
    return true;
}
