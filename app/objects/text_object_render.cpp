#include "app/objects/text_object.h"

#include <algorithm>
#include <cstddef>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/services.h"
#include "app/objects/outline_pixels.h"
#include "app/render/object_effects.h"
#include "image/image_ops.h"
#include "image/tiles.h"
#include "platform/transform/rotate_scale.h"
#include "platform/win/task_pool.h"

namespace {

// Renders of large text boxes may nest (a page draws several); the cursor is begun by the outermost only.
int g_waitCursorDepth = 0;

class TextWaitCursor
{
public:
    // A helper thread shows no cursor: the thread that handed it the render does.
    explicit TextWaitCursor(bool show) : m_show(show && !CTaskPool::IsHelperThread())
    {
        if (m_show && g_waitCursorDepth++ == 0)
            GetCoreServices().BeginWaitCursor();
    }
    ~TextWaitCursor()
    {
        if (m_show && --g_waitCursorDepth == 0)
            GetCoreServices().EndWaitCursor();
    }
    TextWaitCursor(const TextWaitCursor&) = delete;
    TextWaitCursor& operator=(const TextWaitCursor&) = delete;

private:
    bool m_show;
};

// Whether any pixel of an alpha-first RGB image shows.
bool HasVisiblePixel(const CImage& image)
{
    for (int j = 0; j < image.Height(); ++j) {
        const unsigned char* row = image.GetData() + static_cast<ptrdiff_t>(j) * image.GetStride();
        for (int i = 0; i < image.Width(); ++i)
            if (row[4 * i] != 0)
                return true;
    }
    return false;
}

} // namespace

// ---- Rendering ----

void CTextObject::FreeCaches()
{
    CPathObject::FreeCaches();
    body->FreeCoverageImage();
    body->FreeColorImage();
}

void CTextObject::GetPixels(int x, int y, CPixMap& map, const CColor* background)
{
    const bool silhouette = dirty != 0;
    CPathObject::GetPixels(x, y, map, background);
    if (!silhouette || !detail::IsAlphaRgbMap(map))
        return;
    // A text not rendered yet shows as a half-transparent box.
    for (int j = 0; j < map.height; ++j)
        for (int i = 0; i < map.width; ++i) {
            unsigned char* alpha = map.Sample(i, j, 0);
            *alpha = static_cast<unsigned char>(*alpha / 2);
        }
}

bool CTextObject::UpdateImage(CPixMap& scratch)
{
    if (!body->RebuildImage() || !body->RebuildSecondImage())
        return false;
    return CPathObject::UpdateImage(scratch);
}

bool CTextObject::PrepareImage()
{
    m_answers = TextServiceAnswers{GetCurrentState().GetSiteLinkColor(), this, ItemHasMouseOverTwin()};
    return CPathObject::PrepareImage();
}

int CTextObject::RenderPreparedImage(CPixMap& scratch)
{
    const ScopedTextServiceAnswers answers(m_answers);
    if (!body->RebuildImage() || !body->RebuildSecondImage())
        return renderFailed;
    return CPathObject::RenderPreparedImage(scratch);
}

bool CTextObject::RenderImage(CPixMap& scratch)
{
    if (!detail::IsAlphaRgbMap(scratch) || !scratch.interleaved)
        return false;
    const TextWaitCursor wait(body->m_nWidth > kWaitCursorSide || body->m_nHeight > kWaitCursorSide);
    if (!body->RebuildImage() || !body->RebuildSecondImage())
        return false;
    // Nothing shows (a text box without area, or no ink): a single clear pixel at the centre keeps the object
    // findable on the page.
    const auto showNothing = [this] {
        image = std::make_unique<CImage>(IMAGE_MODE_RGBA, 1, 1, 96.0);
        bounds = CentredRect(1, 1);
        dirty = 0;
        return true;
    };
    if (!body->m_coverageImage || !body->m_colorImage)
        return showNothing();

    // Turned the way the outline is, so that the text fills the handles' frame.
    const int targetW = std::max(width, 1), targetH = std::max(height, 1);
    const DPOINT middle{targetW * 0.5, targetH * 0.5};
    auto fit = [&](const CImage& source) {
        return CRotateScale(source).Transform(targetW, targetH, rotation, &middle, nullptr);
    };
    std::unique_ptr<CImage> coverage = fit(*body->m_coverageImage);
    if (!coverage)
        return false;

    std::unique_ptr<CImage> colours;
    const int kind = fill ? fill->GetKind() : CFillInfo::FILL_NONE;
    if (kind == CFillInfo::FILL_NONE) {
        colours = fit(*body->m_colorImage);
    } else if (kind != CFillInfo::FILL_COLOR) {
        if (!fill->GetImage())
            return false;
        colours = WidenGreyToRgb(fit(*fill->GetImage()));
    }
    if (kind != CFillInfo::FILL_COLOR &&
        (!colours || colours->Width() != coverage->Width() || colours->Height() != coverage->Height()))
        return false;
    const COLORREF fillColour = fill ? fill->GetColor().GetCOLORREF() : 0;

    const int imageW = coverage->Width(), imageH = coverage->Height();
    std::unique_ptr<CImage> target;
    if (image && image->GetMode() == IMAGE_MODE_RGBA && image->Width() == imageW && image->Height() == imageH &&
        !image->IsEmpty())
        target = std::move(image);
    else
        target = std::make_unique<CImage>(IMAGE_MODE_RGBA, imageW, imageH, 96.0, CImage::ForOverwrite{});
    if (target->IsEmpty())
        return false;

    CPixMap view(IMAGE_MODE_RGBA, 0, 0);
    const bool tiled = ForEachTile(scratch, imageW, imageH, [&](int x, int y) {
        detail::AimMapAt(view, *target, x, y, scratch.width, scratch.height);
        if (colours)
            colours->GetBuf(x, y, view, MASK_EDGE_REPEAT);
        else
            detail::FillColourPlanes(view, fillColour);
        for (int j = 0; j < view.height; ++j) {
            const unsigned char* a = coverage->GetData() + static_cast<ptrdiff_t>(y + j) * coverage->GetStride() + x;
            for (int i = 0; i < view.width; ++i)
                *view.Sample(i, j, 0) = a[i];
        }
        return true;
    });
    if (!tiled)
        return false;

    CRect newBounds = CentredRect(imageW, imageH);
    if (effects && effects->HasEffects() && !RenderEffects(target, newBounds, *effects)) {
        image = std::move(target);
        bounds = newBounds;
        return false;
    }
    if (!HasVisiblePixel(*target))
        return showNothing();
    if (!detail::CropToVisible(scratch, target, newBounds))
        return false;
    image = std::move(target);
    bounds = newBounds;
    dirty = 0;
    return true;
}
