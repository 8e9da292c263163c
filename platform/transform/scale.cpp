#include "platform/transform/scale.h"

#include "platform/transform/pixel_bridge.h"

#include <algorithm>
#include <cmath>

using namespace detail;

CScale::CScale(CSize source, CSize target, bool)
    : m_source(source), m_target(target), m_targetPart(0, 0, target.cx, target.cy),
      m_sourcePart(0, 0, source.cx, source.cy)
{
}

void CScale::GetSrcRect(const CRect& target, CRect& source)
{
    m_targetPart = target;
    if (m_source.cx <= 0 || m_source.cy <= 0 || m_target.cx <= 0 || m_target.cy <= 0 || target.IsRectEmpty()) {
        m_sourcePart = CRect();
        source = m_sourcePart;
        return;
    }
    // The centres of the first and last target pixel in source pixels, widened by the filter's reach.
    auto span = [](int from, int to, int sourceSize, int targetSize, LONG& low, LONG& high) {
        const double scale = double(sourceSize) / targetSize;
        const double reach = FilterReach(scale);
        const double first = (from + 0.5) * scale - 0.5 - reach;
        const double last = (to - 0.5) * scale - 0.5 + reach;
        low = static_cast<LONG>(std::clamp(std::floor(first), 0.0, double(sourceSize)));
        high = static_cast<LONG>(std::clamp(std::ceil(last) + 1, 0.0, double(sourceSize)));
    };
    span(target.left, target.right, m_source.cx, m_target.cx, m_sourcePart.left, m_sourcePart.right);
    span(target.top, target.bottom, m_source.cy, m_target.cy, m_sourcePart.top, m_sourcePart.bottom);
    if (m_sourcePart.IsRectEmpty())
        m_sourcePart = CRect();
    source = m_sourcePart;
}

bool CScale::Transform(const CPixMap& source, CPixMap& target) const
{
    if (m_source.cx <= 0 || m_source.cy <= 0 || m_target.cx <= 0 || m_target.cy <= 0)
        return false;
    const SampleLayout in = LayoutOf(source);
    const SampleLayout out = LayoutOf(target);
    if (in.kind == PixelKind::Unsupported || out.kind == PixelKind::Unsupported)
        return false;
    const int tw = m_targetPart.Width(), th = m_targetPart.Height();
    const int sw = m_sourcePart.Width(), sh = m_sourcePart.Height();
    if (tw <= 0 || th <= 0)
        return true;
    if (sw <= 0 || sh <= 0 || in.width < sw || in.height < sh || out.width < tw || out.height < th)
        return false;

    PixmanImage src = ReadPixels(in, 0, 0, sw, sh);
    PixmanImage dst = NewPixmanImage(out.kind, tw, th);
    if (!src || !dst)
        return false;
    const double fx = double(m_source.cx) / m_target.cx, fy = double(m_source.cy) / m_target.cy;
    // Target part pixel d -> whole target (d + target part corner) -> whole source -> source part.
    pixman_f_transform inverse = {{{fx, 0, fx * m_targetPart.left - m_sourcePart.left},
                                   {0, fy, fy * m_targetPart.top - m_sourcePart.top},
                                   {0, 0, 1}}};
    if (!SetResampling(src.get(), inverse, fx, fy))
        return false;
    pixman_image_composite32(PIXMAN_OP_SRC, src.get(), nullptr, dst.get(), 0, 0, 0, 0, 0, 0, tw, th);
    WritePixels(dst.get(), out, tw, th);
    return true;
}
