#include "app/objects/text_object.h"

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/string_attr.h"
#include "app/objects/object_factory.h"

CTextObject::CTextObject(double x, double y, const SIZE& size, double rotation)
    : CPathObject(x, y, size, rotation), body(std::make_unique<CTextBody>(this, size.cx, size.cy))
{
    fill->SetNone();
    dirty = 1;
    BuildOutline();
    UpdateHandles();
}

CTextObject::~CTextObject() = default;

std::unique_ptr<CPageObject> CTextObject::Create()
{
    return std::make_unique<CTextObject>(0.0, 0.0, SIZE{2, 2}, 0.0);
}

void CTextObject::FreeCaches()
{
    CPathObject::FreeCaches();
    body->FreeCoverageImage();
    body->FreeColorImage();
}

RECT& CTextObject::GetBounds(RECT& rect) const
{
    return CPathObject::GetBounds(rect);
}

SIZE& CTextObject::GetSize(SIZE& size) const
{
    return CPathObject::GetSize(size);
}

void CTextObject::SetSize(int cx, int cy)
{
    CPathObject::SetSize(cx, cy);
}

double CTextObject::GetRotation() const
{
    return editing ? 0.0 : rotation;
}

void CTextObject::SetRotation(double newRotation)
{
    CPathObject::SetRotation(newRotation);
}

bool CTextObject::RenderImage(CPixMap& scratch)
{
    (void)scratch;
    return false;
}

void CTextObject::GetPixels(int x, int y, CPixMap& map, const CColor* background)
{
    CPathObject::GetPixels(x, y, map, background);
}

RECT& CTextObject::GetPaintRect(RECT& rect) const
{
    return CPathObject::GetPaintRect(rect);
}

bool CTextObject::UpdateImage(CPixMap& scratch)
{
    return CPathObject::UpdateImage(scratch);
}

SIZE& CTextObject::GetMinSize(SIZE& size) const
{
    size = SIZE{1, 1};
    return size;
}

SIZE& CTextObject::GetMaxSize(SIZE& size) const
{
    size = SIZE{1000000, 1000000};
    return size;
}

std::unique_ptr<CFillInfo> CTextObject::SetFill(std::unique_ptr<CFillInfo> newFill)
{
    return CPathObject::SetFill(std::move(newFill));
}

std::unique_ptr<CEffectSettings> CTextObject::SetEffects(std::unique_ptr<CEffectSettings> newEffects)
{
    return CPathObject::SetEffects(std::move(newEffects));
}

void CTextObject::OnPageDeleted(int page)
{
    CPathObject::OnPageDeleted(page);
}

void CTextObject::ClampPageLinks(int count)
{
    CPathObject::ClampPageLinks(count);
}

void CTextObject::ResetPageLinks()
{
    CPathObject::ResetPageLinks();
}

void CTextObject::UpdateHandles()
{
    CPathObject::UpdateHandles();
}

int CTextObject::GetDownloadSize(double divisor) const
{
    return CPathObject::GetDownloadSize(divisor);
}

void CTextObject::Save(CFile& file) const
{
    (void)file;
}

void CTextObject::Load(CFile& file, int major, int minor)
{
    (void)file, (void)major, (void)minor;
}

std::unique_ptr<CPageObject> CTextObject::Clone() const
{
    return nullptr;
}

std::unique_ptr<CPageObject> CTextObject::Duplicate() const
{
    return nullptr;
}

void CTextObject::CopyFrom(CPageObject& other)
{
    (void)other;
}

void CTextObject::BuildOutline()
{
    outline.Clear();
    FinishOutline();
}

void CTextObject::GetTextObjectCenter(double& x, double& y) const
{
    x = centreX;
    y = centreY;
}

void CTextObject::SetTextObjectCenter(double x, double y)
{
    centreX = x;
    centreY = y;
}

SIZE CTextObject::GetTextObjectSize() const
{
    SIZE size;
    return GetSize(size);
}

void CTextObject::GetTextObjectScale(double& x, double& y) const
{
    x = scaleX;
    y = scaleY;
}

void CTextObject::SetTextObjectSize(int cx, int cy)
{
    width = cx;
    height = cy;
}

void CTextObject::SetTextObjectBounds(const RECT& rect)
{
    bounds = rect;
}

bool CTextObject::IsTextObjectLinked() const
{
    return link && link->IsActive();
}

bool CTextObject::IsPlainObject() const
{
    return true;
}
