#include "controls/slider_control.h"

#include "platform/resources/bitmap_resources.h"

#include <algorithm>
#include <cstdint>
#include <wx/dc.h>

namespace {

constexpr unsigned kThumbShapeBitmap = 6088;
constexpr unsigned kThumbColourBitmap = 6089;
constexpr ControlRgb kWhite{255, 255, 255};
constexpr ControlRgb kShadow{128, 128, 128};
constexpr ControlRgb kLight{223, 223, 223};
constexpr ControlRgb kBlack{0, 0, 0};
constexpr ControlRgb kTick{64, 64, 64};

CRect Union(const CRect& a, const CRect& b)
{
    if (a.Width() <= 0 || a.Height() <= 0)
        return b;
    if (b.Width() <= 0 || b.Height() <= 0)
        return a;
    return CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom));
}

} // namespace

namespace detail {

int ClampSliderRange(int range)
{
    if (range > 65535)
        return 65536;
    if (range < 3)
        return 2;
    return range;
}

int ClampSliderValue(int value, int range)
{
    return std::clamp(value, 0, range - 1);
}

int SliderValueAt(int x, int grooveStart, int grooveEnd, int range)
{
    const int span = grooveEnd - grooveStart - 1;
    if (span <= 0)
        return 0;
    x = std::clamp(x, grooveStart, grooveEnd - 1);
    return static_cast<int>(static_cast<int64_t>(x - grooveStart) * (range - 1) / span);
}

int SliderThumbLeft(int value, int range, int areaLeft, int areaRight, int thumbWidth)
{
    return areaLeft + static_cast<int>(static_cast<int64_t>(areaRight - thumbWidth - areaLeft) * value / (range - 1));
}

void DrawSliderGroove(DisplayBuffer& groove, int length)
{
    groove.Resize(std::max(length, 0), 4);
    groove.Fill(kWhite);
    groove.FillRect(0, 0, length - 1, 3, kShadow);
    groove.FillRect(1, 1, length - 2, 2, kLight);
    groove.FillRect(1, 1, length - 3, 1, kBlack);
}

} // namespace detail

void CSliderControl::Init(int range, int value, bool atTop, bool ticks)
{
    m_range = detail::ClampSliderRange(range);
    // The value is kept within the range as it now stands, so a range cut to 65536 cannot leave a value beyond it.
    m_value = detail::ClampSliderValue(value, m_range);
    m_ticks = ticks;
    m_hasThumbArea = false;
    m_thumbArea = CRect();
    m_grooveStart = m_grooveEnd = 0;

    m_thumb = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, 1, 1);
    const bool loaded = LoadBitmapRGBA(kThumbColourBitmap, m_thumb.get(), true, false) &&
                        LoadBitmapRGBA(kThumbShapeBitmap, m_thumb.get(), false, true);
    const CSize client = ClientSize();
    if (!loaded || m_thumb->width >= client.cx || m_thumb->height >= client.cy) {
        Refresh(true);
        return;
    }
    m_hasThumbArea = true;
    const int top = atTop ? 0 : client.cy - m_thumb->height;
    m_thumbArea = CRect(0, top, client.cx, top + m_thumb->height);
    m_grooveStart = m_thumbArea.left + m_thumb->width / 2;
    m_grooveEnd = m_thumbArea.right - m_thumb->width / 2;
    detail::DrawSliderGroove(m_groove, m_grooveEnd - m_grooveStart);
    Refresh(true);
}

CRect CSliderControl::ThumbRect() const
{
    if (!m_hasThumbArea)
        return CRect();
    const int left = detail::SliderThumbLeft(m_value, m_range, m_thumbArea.left, m_thumbArea.right, m_thumb->width);
    return CRect(left, m_thumbArea.top, left + m_thumb->width, m_thumbArea.top + m_thumb->height);
}

void CSliderControl::SetValue(int value, bool redraw)
{
    const CRect before = ThumbRect();
    m_value = detail::ClampSliderValue(value, m_range);
    if (redraw)
        RefreshThumbs(before);
}

void CSliderControl::SetValue(int range, int value, bool redraw)
{
    const CRect before = ThumbRect();
    m_range = detail::ClampSliderRange(range);
    m_value = detail::ClampSliderValue(value, m_range);
    if (redraw)
        RefreshThumbs(before);
}

void CSliderControl::RefreshThumbs(const CRect& before)
{
    const CRect both = Union(before, ThumbRect());
    if (both.Width() > 0 && both.Height() > 0)
        RefreshRect(wxRect(both.left, both.top, both.Width(), both.Height()), true);
}

void CSliderControl::SetValueFromX(int x)
{
    const CRect before = ThumbRect();
    m_value = detail::SliderValueAt(x, m_grooveStart, m_grooveEnd, m_range);
    RefreshThumbs(before);
}

bool CSliderControl::PressStartsDrag(const CPoint&)
{
    // Without a thumb area there is no groove to take a value from.
    return m_hasThumbArea;
}

void CSliderControl::DragStarted(const CPoint& point)
{
    SetValueFromX(point.x);
    Notify(SLIDER_NOTIFY_CHANGING);
}

void CSliderControl::DragMoved(const CPoint& point)
{
    SetValueFromX(point.x);
    Notify(SLIDER_NOTIFY_CHANGING);
}

void CSliderControl::DragEnded(const CPoint& point, bool captureLost)
{
    // A lost capture has no position of its own: the value stays where the last move left it.
    if (!captureLost)
        m_value = detail::SliderValueAt(point.x, m_grooveStart, m_grooveEnd, m_range);
    Refresh(false);
    Notify(SLIDER_NOTIFY_CHANGED);
}

void CSliderControl::Paint(wxDC& dc)
{
    if (!m_hasThumbArea)
        return;
    const CSize client = ClientSize();
    CPixMap picture(IMAGE_MODE_RGBA, client.cx, client.cy);
    ClearMap(picture);
    const int grooveTop = GrooveTop();
    PasteOpaque(picture, m_groove, m_grooveStart, grooveTop);
    if (m_ticks) {
        const int length = m_grooveEnd - m_grooveStart;
        const int markTop = grooveTop - 3, markBottom = grooveTop + 4 + 4;
        FillMapRect(picture, m_grooveStart, markTop, 1, markBottom - markTop, kTick);
        FillMapRect(picture, m_grooveStart + length / 2 - 1, grooveTop + 4, 1, 4, kTick);
        FillMapRect(picture, m_grooveEnd - 1, markTop, 1, markBottom - markTop, kTick);
    }
    const CRect thumb = ThumbRect();
    BlendMapOver(picture, *m_thumb, thumb.left, thumb.top);
    DrawMap(dc, picture, 0, 0);
}
