#include "app/objects/page_object.h"

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/string_attr.h"

CPageObject::CPageObject() = default;

CPageObject::~CPageObject() = default;

void CPageObject::SetOffsetX(int x)
{
    const int dx = x - offsetX;
    bounds.OffsetRect(dx, 0);
    for (DPOINT& handle : handles)
        handle.x += dx;
    offsetX = x;
}

void CPageObject::SetOffsetY(int y)
{
    const int dy = y - offsetY;
    bounds.OffsetRect(0, dy);
    for (DPOINT& handle : handles)
        handle.y += dy;
    offsetY = y;
}

// An object without the record keeps nothing of what it is given, and had nothing to give back.
std::unique_ptr<CFillInfo> CPageObject::SetFill(std::unique_ptr<CFillInfo> fill)
{
    (void)fill;
    return nullptr;
}

std::unique_ptr<CEffectSettings> CPageObject::SetEffects(std::unique_ptr<CEffectSettings> effects)
{
    (void)effects;
    return nullptr;
}

std::unique_ptr<CLinkInfo> CPageObject::SetLink(std::unique_ptr<CLinkInfo> link)
{
    (void)link;
    return nullptr;
}

std::unique_ptr<CStringAttr> CPageObject::SetAltText(std::unique_ptr<CStringAttr> altText)
{
    (void)altText;
    return nullptr;
}
