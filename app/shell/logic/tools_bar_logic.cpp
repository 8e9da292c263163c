#include "app/shell/logic/tools_bar_logic.h"

#include <algorithm>

#include "app/model/app_settings.h"
#include "app/site/website.h"

const std::array<ToolButtonInfo, kToolButtonCount> kToolButtons = {{
    {1, 166, 164, 0, 5500},
    {2, 162, 196, 0, 5501},
    {3, 131, 172, -1, 5511},
    {5, 220, 221, 5, 5504},
    {6, 139, 493, 0, 5507},
    {7, 200, 198, -1, 5512},
    {11, 188, 186, -1, 5505},
    {12, 563, 564, 5, 7007},
    {13, 135, 566, 0, 7004},
    {14, 136, 568, -1, 7006},
    {15, 137, 562, -1, 7005},
    {16, 618, 621, -1, 6990},
    {17, 651, 652, -1, 6999},
}};

const std::array<ShapeButtonInfo, kShapeButtonCount> kShapeButtons = {{
    {1260, {2, 2}, 601, 614, "(Rounded) Rectangle", 1},
    {1261, {36, 2}, 594, 607, "Circle", 2},
    {1262, {70, 2}, 591, 605, "Triangle", 3},
    {1263, {104, 2}, 602, 615, "Diamond", 4},
    {1264, {2, 36}, 600, 613, "Pentagon", 5},
    {1265, {36, 36}, 597, 610, "Hexagon", 6},
    {1266, {70, 36}, 596, 609, "Heptagon", 7},
    {1267, {104, 36}, 599, 612, "Octogon", 8},
    {1272, {2, 70}, 626, 622, "Arrow", 13},
    {1273, {36, 70}, 627, 623, "David Star", 14},
    {1274, {70, 70}, 628, 624, "Tab", 15},
    {1275, {104, 70}, 629, 625, "Speech Bubble", 16},
    {1276, {2, 104}, 637, 633, "Straight Line", 17},
    {1277, {36, 104}, 635, 631, "Five-Pointed Star", 18},
    {1278, {70, 104}, 636, 632, "Six-Pointed Star", 19},
    {1279, {104, 104}, 634, 630, "Frame", 20},
}};

bool IsCompanionTool(int tool)
{
    return tool >= kFirstCompanionTool && tool <= kLastCompanionTool;
}

std::vector<ToolButtonPlace> LayOutToolButtons(int h)
{
    std::vector<ToolButtonPlace> places;
    int y = kWellHeight + 7;
    for (size_t i = 0; i < kToolButtons.size(); ++i) {
        if (i > 0)
            y += h + kToolButtons[i].stepAfterImage;
        places.push_back({kToolButtons[i].tool, CPoint(2, y)});
    }
    return places;
}

int HitToolButton(const std::vector<ToolButtonPlace>& places, const CPoint& pt, const CSize& image)
{
    for (size_t i = 0; i < places.size(); ++i) {
        const CPoint& p = places[i].pos;
        if (pt.x >= p.x && pt.x < p.x + image.cx && pt.y >= p.y && pt.y < p.y + image.cy)
            return static_cast<int>(i);
    }
    return -1;
}

bool InColorWell(const CPoint& pt)
{
    return pt.x >= kWellPos.x && pt.x < kWellPos.x + kWellWidth && pt.y >= kWellPos.y &&
           pt.y < kWellPos.y + kWellHeight;
}

namespace {

void FillBlock(CPixMap& map, int left, int top, int width, int height, const unsigned char bgr[3])
{
    for (int y = top; y < top + height && y < map.height; ++y)
        for (int x = left; x < left + width && x < map.width; ++x)
            for (int p = 0; p < 3; ++p)
                *map.Sample(x, y, p) = bgr[p];
}

} // namespace

void BuildColorWell(CPixMap& well, const CColor& color)
{
    if (!well.IsValid())
        return;
    const unsigned char black[3] = {0, 0, 0}, white[3] = {255, 255, 255}, grey[3] = {128, 128, 128};
    FillBlock(well, 0, 0, kWellWidth, kWellHeight, black);
    FillBlock(well, 0, 0, kWellWidth - 1, kWellHeight - 1, white);
    FillBlock(well, 1, 1, kWellWidth - 2, kWellHeight - 2, grey);
    FillColorWell(well, color);
}

void FillColorWell(CPixMap& well, const CColor& color)
{
    if (!well.IsValid())
        return;
    const unsigned char* rgb = color.GetColor();
    const unsigned char bgr[3] = {rgb[2], rgb[1], rgb[0]};
    FillBlock(well, 1, 1, kWellWidth - 3, kWellHeight - 3, bgr);
}

CSize FitToolsBar(const CSize& image, int count, const CSize& nonClient)
{
    return CSize(nonClient.cx + image.cx + 4, nonClient.cy + (image.cy + 2) * count + kWellHeight + 10 - 23);
}

CustomColors& SavedCustomColors()
{
    static CustomColors saved = [] {
        CustomColors white;
        white.fill(RGB(255, 255, 255));
        return white;
    }();
    return saved;
}

void HandCustomColorsToDialog(CWebsite* site, CustomColors& saved)
{
    if (!site || site->AreCustomColorsHandedOver())
        return;
    for (int i = 0; i < CWebsite::kCustomColorCount && i < static_cast<int>(saved.size()); ++i)
        saved[i] = site->GetCustomColor(i);
    site->SetCustomColorsHandedOver(true);
}

bool TakeCustomColorsFromDialog(CWebsite* site, const CustomColors& saved)
{
    if (!site)
        return false;
    bool changed = false;
    for (int i = 0; i < CWebsite::kCustomColorCount && i < static_cast<int>(saved.size()); ++i)
        if (site->GetCustomColor(i) != saved[i]) {
            site->SetCustomColor(i, saved[i]);
            changed = true;
        }
    if (changed)
        site->SetModified();
    return changed;
}

bool* ToolHintFlag(CAppSettings& settings, int tool)
{
    switch (tool) {
    case 1:
        return &settings.m_showArrowToolHelp;
    case 2:
        return &settings.m_showTextToolHelp;
    case 3:
        return &settings.m_showPolygonToolHelp;
    case 5:
        return &settings.m_showPictureToolHelp;
    case 6:
        return &settings.m_showHtmlToolHelp;
    case 7:
        return &settings.m_showAddFlashToolHelp;
    case 8:
        return &settings.m_showCounterToolHelp;
    case 9:
        return &settings.m_showFormularToolHelp;
    case 11:
        return &settings.m_showPipetteToolHelp;
    default:
        return nullptr;
    }
}

void CToolsBarState::Press(int tool)
{
    if (IsCompanionTool(tool))
        m_previousTool = m_tool;
    m_tool = tool;
}

int CToolsBarState::Release()
{
    if (!IsCompanionTool(m_tool))
        return 0;
    const int launched = m_tool;
    m_tool = m_previousTool;
    return launched;
}

const ShapeButtonInfo* FindShapeButton(int id)
{
    const auto found =
        std::find_if(kShapeButtons.begin(), kShapeButtons.end(), [id](const ShapeButtonInfo& b) { return b.id == id; });
    return found == kShapeButtons.end() ? nullptr : &*found;
}
