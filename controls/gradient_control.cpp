#include "controls/gradient_control.h"

#include "controls/gradient_designer.h"
#include "platform/gui/xrc_resources.h"

#include <algorithm>
#include <wx/dc.h>

namespace detail {

void DrawGradientPicture(DisplayBuffer& picture, int width, int height, const std::vector<unsigned char>& band)
{
    picture.Resize(width, height);
    const int w = picture.Width(), h = picture.Height();
    picture.Fill({0, 0, 0});
    picture.FillRect(0, 0, w - 1, h - 1, {255, 255, 255});
    picture.FillRect(1, 1, w - 2, h - 2, {128, 128, 128});
    picture.FillRect(1, 1, w - 2, h - 3, {223, 223, 223});
    const int pixels = std::min(w - 4, static_cast<int>(band.size() / 3));
    for (int y = 2; y < h - 2; ++y)
        for (int i = 0; i < pixels; ++i)
            picture.FillRect(2 + i, y, 1, 1, {band[3 * i], band[3 * i + 1], band[3 * i + 2]});
}

} // namespace detail

CGradientControl::CGradientControl()
{
    m_gradient.start = CColor(255, 255, 255);
    m_gradient.end = CColor(255, 255, 255);
    Bind(wxEVT_LEFT_DOWN, &CGradientControl::OnPress, this);
}

void CGradientControl::Init()
{
    GetPredefinedGradient(m_gradient, 0);
    Rebuild();
}

void CGradientControl::ChangeGradient(const GRADIENTCOLORS& g)
{
    m_gradient = g;
    Rebuild();
}

void CGradientControl::CopyCurrentGradient(GRADIENTCOLORS& g) const
{
    g.start = m_gradient.start;
    g.end = m_gradient.end;
    g.RemoveAllStops();
    for (size_t i = 0; i < m_gradient.GetStopCount(); ++i)
        g.AddStop(m_gradient.positions[i], m_gradient.leftColors[i], m_gradient.rightColors[i]);
    g.predefined = m_gradient.predefined;
}

void CGradientControl::Rebuild()
{
    // Before the window has a size there is no band to build; the picture stays empty.
    const CSize client = ClientSize();
    const int pixels = std::max<int>(client.cx - 4, 0);
    std::vector<unsigned char> band(3 * static_cast<size_t>(pixels));
    BuildColorBand(band.data(), pixels);
    detail::DrawGradientPicture(m_picture, client.cx, client.cy, band);
    Refresh(false);
}

bool CGradientControl::EditGradient(GRADIENTCOLORS& gradient)
{
    LoadXrcResources();
    CGradientDesignerDialog dialog(this);
    if (!dialog.Designer())
        return false;
    dialog.SetGradient(gradient);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    dialog.GetGradient(gradient);
    return true;
}

void CGradientControl::OnPress(wxMouseEvent& event)
{
    event.Skip();
    if (!IsEnabledFlag())
        return;
    GRADIENTCOLORS edited = m_gradient;
    if (!EditGradient(edited))
        return;
    m_gradient = edited;
    Rebuild();
    Notify(GRADIENT_NOTIFY_CHANGED);
}

void CGradientControl::Paint(wxDC& dc)
{
    m_picture.Draw(dc, 0, 0);
}
