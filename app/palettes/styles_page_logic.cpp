#include "app/palettes/styles_page_logic.h"

#include <array>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/services.h"
#include "app/objects/page_object.h"
#include "app/palettes/palette_edit.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/resources/resource_folder.h"

namespace {

constexpr StyleSwitch kOff = StyleSwitch::off;
constexpr StyleSwitch kOwn = StyleSwitch::own;
constexpr StyleSwitch kSet = StyleSwitch::set;

constexpr StyleShadow kNoShadow{kOff, 0, 0, 0, 0, 0};
constexpr StyleShadow kOwnShadow{kOwn, 0, 0, 0, 0, 0};
// A new record's shadow.
constexpr StyleShadow kPlainShadow{kSet, 5, 10, 50, 0, 135};
constexpr StyleShadow kNearShadow{kSet, 10, 2, 50, 0, 315};
constexpr StyleShadow kSoftShadow{kSet, 15, 20, 50, 0, 315};

constexpr StyleBevel kNoBevel{kOff, 0, 0, 0, 0, 0};
constexpr StyleBevel kOwnBevel{kOwn, 0, 0, 0, 0, 0};
constexpr StyleBevel kOuterBevel{kSet, 0, 25, 50, 135, 0};
constexpr StyleBevel kInnerBevel{kSet, 0, 25, 50, 135, 1};
constexpr StyleBevel kPillowBevel{kSet, 0, 25, 50, 135, 3};
constexpr StyleBevel kSharpInnerBevel{kSet, 0, 20, 0, 135, 1};
constexpr StyleBevel kSunkBevel{kSet, 1, 15, 0, 135, 0};

constexpr StyleGlow kNoGlow{kOff, 0, 0, 0};
constexpr StyleGlow kOwnGlow{kOwn, 0, 0, 0};
constexpr StyleGlow kInnerGlow{kSet, 50, 0, 1};
constexpr StyleGlow kBothGlow{kSet, 50, 25, 2};

// In style order; the buttons' ids follow the page's template.
constexpr std::array<PresetStyle, kStyleCount> kStyles = {{
    {1156, 329, 423, kPlainShadow, kNoBevel, kNoGlow},        {1157, 330, 425, kNoShadow, kOuterBevel, kNoGlow},
    {1159, 333, 427, kNoShadow, kInnerBevel, kNoGlow},        {1161, 334, 428, kPlainShadow, kNoBevel, kNoGlow},
    {1163, 335, 429, kNoShadow, kPillowBevel, kNoGlow},       {1180, 336, 430, kNoShadow, kNoBevel, kInnerGlow},
    {1165, 337, 431, kNoShadow, kInnerBevel, kNoGlow},        {1168, 338, 433, kNoShadow, kNoBevel, kBothGlow},
    {1171, 339, 437, kNoShadow, kNoBevel, kOwnGlow},          {1173, 344, 438, kNoShadow, kOwnBevel, kNoGlow},
    {1174, 346, 439, kNoShadow, kSharpInnerBevel, kBothGlow}, {1181, 347, 440, kOwnShadow, kNoBevel, kNoGlow},
    {1175, 349, 441, kNearShadow, kNoBevel, kNoGlow},         {1176, 366, 442, kNoShadow, kSunkBevel, kNoGlow},
    {1177, 364, 443, kNoShadow, kNoBevel, kOwnGlow},          {1178, 367, 444, kNoShadow, kOwnBevel, kNoGlow},
    {1179, 368, 445, kOwnShadow, kNoBevel, kNoGlow},          {1182, 365, 446, kSoftShadow, kNoBevel, kNoGlow},
    {1183, 700, 712, kNoShadow, kNoBevel, kBothGlow},         {1184, 701, 713, kNoShadow, kNoBevel, kOwnGlow},
    {1185, 702, 714, kNoShadow, kOwnBevel, kNoGlow},          {1186, 703, 715, kNoShadow, kSharpInnerBevel, kBothGlow},
    {1187, 704, 716, kNoShadow, kNoBevel, kOwnGlow},          {1188, 705, 717, kNearShadow, kNoBevel, kNoGlow},
    {1190, 706, 718, kNoShadow, kSunkBevel, kNoGlow},         {1191, 707, 719, kNoShadow, kNoBevel, kOwnGlow},
    {1192, 708, 720, kNoShadow, kOwnBevel, kNoGlow},          {1193, 709, 721, kNoShadow, kOwnBevel, kOwnGlow},
    {1194, 710, 722, kSoftShadow, kNoBevel, kNoGlow},         {1195, 711, 723, kNoShadow, kPillowBevel, kNoGlow},
}};

// Calls visit with the current object of every item of every selected group, in page and group order.
template <class Visit> void ForEachStyledObject(const CSitePage& page, Visit visit)
{
    for (int g = 0; g < page.GetGroupCount(); ++g) {
        const CObjectFrame* group = page.GetGroupAt(g);
        if (!group || !group->IsSelected())
            continue;
        for (int i = 0; i < group->GetItemCount(); ++i)
            if (const CPageItem* item = group->GetItem(i))
                if (CPageObject* object = item->GetCurrentObject())
                    visit(*object);
    }
}

// The page a style goes to: the current page while there is a site, the page has groups and no text is edited in
// place.
CSitePage* StylePage()
{
    CSitePage* page = GetCurrentSite() ? GetCurrentPage() : nullptr;
    if (!page || page->GetGroupCount() == 0 || IsViewEditingText())
        return nullptr;
    return page;
}

bool SelectionTakesStyle(const CSitePage& page)
{
    bool takes = true;
    ForEachStyledObject(page, [&takes](const CPageObject& object) {
        takes = takes && object.CanTakeStyle() && object.CanHavePictureFill();
    });
    return takes;
}

} // namespace

const PresetStyle& GetPresetStyle(int style)
{
    if (style < 1 || style > kStyleCount)
        style = 1;
    return kStyles[static_cast<size_t>(style - 1)];
}

int StyleForButton(int buttonId)
{
    for (size_t i = 0; i < kStyles.size(); ++i)
        if (kStyles[i].buttonId == buttonId)
            return static_cast<int>(i) + 1;
    return 1;
}

std::string StyleTextureFile(int style)
{
    if (style < 1 || style > kStyleCount)
        style = 1;
    return "Graphics/Backgrounds/tex" + std::to_string(style) + ".jpg";
}

std::string StyleTexturePath(const std::string& programFolder, int style)
{
    std::string folder = programFolder;
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    return folder + "/" + StyleTextureFile(style);
}

std::string GetProgramFolder()
{
    return GetResourceFolder().parent_path().string();
}

void ApplyStyleEffects(const PresetStyle& preset, CEffectSettings& e)
{
    e.m_shadow = preset.shadow.mode != kOff;
    if (preset.shadow.mode == kSet) {
        e.m_shadowOffset = preset.shadow.offset;
        e.m_shadowSoftness = preset.shadow.softness;
        e.m_shadowOpacity = preset.shadow.opacity;
        e.m_shadowStyle = preset.shadow.style;
        e.m_shadowAngle = preset.shadow.angle;
        e.m_shadowColor = CColor(0, 0, 0);
    }
    // The record keeps the bevel's offset and softness sliders as its softness and strength.
    e.m_bevel = preset.bevel.mode != kOff;
    if (preset.bevel.mode == kSet) {
        e.m_bevelDirection = preset.bevel.direction;
        e.m_bevelSoftness = preset.bevel.offset;
        e.m_bevelStrength = preset.bevel.softness;
        e.m_bevelAngle = preset.bevel.angle;
        e.m_bevelStyle = preset.bevel.style;
    }
    // And the glow's offset and opacity sliders as its softness and strength.
    e.m_glow = preset.glow.mode != kOff;
    if (preset.glow.mode == kSet) {
        e.m_glowSoftness = preset.glow.offset;
        e.m_glowStrength = preset.glow.opacity;
        e.m_glowStyle = preset.glow.style;
        e.m_glowColor = CColor(0, 0, 0);
    }
}

bool CanApplyStyle()
{
    const CSitePage* page = StylePage();
    return page && SelectionTakesStyle(*page);
}

bool ApplyStyle(int style, const std::string& programFolder)
{
    CSitePage* page = StylePage();
    if (!page || !SelectionTakesStyle(*page))
        return false;
    const PresetStyle& preset = GetPresetStyle(style);
    const std::string texture = StyleTexturePath(programFolder, style);
    // One step for the whole selection, also when no group is selected.
    ApplySelectionEdit(*page, kUndoStyles, [&] {
        ForEachStyledObject(*page, [&](CPageObject& object) {
            if (!object.GetFill() || !object.GetEffects())
                return;
            std::unique_ptr<CEffectSettings> effects = object.GetEffects()->Clone();
            std::unique_ptr<CFillInfo> fill = object.GetFill()->Clone();
            fill->SetImageFile(texture);
            ApplyStyleEffects(preset, *effects);
            object.SetFill(std::move(fill));
            object.SetEffects(std::move(effects));
        });
    });
    return true;
}
