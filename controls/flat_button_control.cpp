#include "controls/flat_button_control.h"

#include <algorithm>
#include <wx/dc.h>
#include <wx/utils.h>

namespace {

constexpr ControlRgb kFlatWhite{255, 255, 255};
constexpr ControlRgb kFlatShadow{128, 128, 128};

std::unique_ptr<CPixMap> CopyPicture(const CPixMap* picture)
{
    if (!picture || !picture->IsValid() || !picture->interleaved || picture->mode != IMAGE_MODE_RGBA)
        return nullptr;
    auto copy = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, picture->width, picture->height);
    if (!copy->IsValid())
        return nullptr;
    for (int y = 0; y < picture->height; ++y)
        std::copy_n(picture->Sample(0, y, 0), 4 * picture->width, copy->Sample(0, y, 0));
    return copy;
}

} // namespace

namespace detail {

FlatEdge FlatButtonEdge(bool pressed, bool inside)
{
    if (pressed && inside)
        return FlatEdge::Sunken;
    if (pressed || inside)
        return FlatEdge::Raised;
    return FlatEdge::None;
}

std::unique_ptr<CPixMap> DrawFlatButton(int width, int height, FlatEdge edge, const CPixMap* picture)
{
    auto canvas = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, std::max(width, 0), std::max(height, 0));
    ClearMap(*canvas);
    const int w = canvas->width, h = canvas->height;
    if (edge != FlatEdge::None && w > 0 && h > 0) {
        const ControlRgb light = edge == FlatEdge::Raised ? kFlatWhite : kFlatShadow;
        const ControlRgb dark = edge == FlatEdge::Raised ? kFlatShadow : kFlatWhite;
        FillMapRect(*canvas, 0, h - 1, w, 1, dark);
        FillMapRect(*canvas, w - 1, 0, 1, h, dark);
        FillMapRect(*canvas, 0, 0, w - 1, 1, light);
        FillMapRect(*canvas, 0, 0, 1, h - 1, light);
    }
    if (picture && picture->IsValid() && picture->mode == IMAGE_MODE_RGBA) {
        const int left = (w - picture->width) / 2, top = (h - picture->height) / 2;
        for (int y = std::max(0, -top); y < picture->height && top + y < h; ++y) {
            for (int x = std::max(0, -left); x < picture->width && left + x < w; ++x) {
                const unsigned char* s = picture->Sample(x, y, 0);
                if (s[0] == 0)
                    continue;
                unsigned char* d = canvas->Sample(left + x, top + y, 0);
                d[0] = 255;
                std::copy_n(s + 1, 3, d + 1);
            }
        }
    }
    return canvas;
}

} // namespace detail

CFlatButtonControl::CFlatButtonControl()
{
    COwnerDrawnControl::Enable(false);
    Bind(wxEVT_MOTION, &CFlatButtonControl::OnMove, this);
}

bool CFlatButtonControl::Create(const CRect& rect, wxWindow* parent, UINT id, const CPixMap* enabledPicture,
                                const CPixMap* disabledPicture, const std::string& caption)
{
    m_enabledPicture = CopyPicture(enabledPicture);
    m_disabledPicture = CopyPicture(disabledPicture);
    m_caption = caption;
    return COwnerDrawnControl::Create(rect, parent, id);
}

bool CFlatButtonControl::Enable(bool enable)
{
    const bool changed = COwnerDrawnControl::Enable(enable);
    Refresh(false);
    return changed;
}

bool CFlatButtonControl::MouseInside() const
{
    const wxPoint at = ScreenToClient(wxGetMousePosition());
    return wxRect(GetClientSize()).Contains(at);
}

void CFlatButtonControl::NotifyMouseMove()
{
    if (MouseInside() != m_insideAtPaint)
        Refresh(true);
}

void CFlatButtonControl::OnMove(wxMouseEvent& event)
{
    event.Skip();
    if (IsEnabledFlag())
        Refresh(true);
}

bool CFlatButtonControl::PressStartsDrag(const CPoint&)
{
    return true;
}

void CFlatButtonControl::DragStarted(const CPoint&)
{
    m_pressed = true;
    Refresh(false);
}

void CFlatButtonControl::DragEnded(const CPoint& point, bool captureLost)
{
    m_pressed = false;
    if (captureLost) {
        Refresh(true);
        return;
    }
    if (wxRect(GetClientSize()).Contains(point.x, point.y))
        Notify(FLAT_BUTTON_NOTIFY_CLICKED);
    Refresh(false);
}

void CFlatButtonControl::Paint(wxDC& dc)
{
    const bool inside = MouseInside();
    const CSize client = ClientSize();
    const CPixMap* picture = IsEnabledFlag() ? m_enabledPicture.get() : m_disabledPicture.get();
    const auto canvas =
        detail::DrawFlatButton(client.cx, client.cy, detail::FlatButtonEdge(m_pressed, inside), picture);
    DrawMap(dc, *canvas, 0, 0);
    m_insideAtPaint = inside;
}
