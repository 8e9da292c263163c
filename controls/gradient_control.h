#pragma once

// CGradientControl: a framed band showing a gradient. A click opens the gradient designer on it; when the user
// confirms there the control takes the edited gradient, repaints and notifies 4027.

#include "controls/gradient/gradient_model.h"
#include "controls/owner_drawn_control.h"

#include <vector>

constexpr UINT GRADIENT_NOTIFY_CHANGED = 4027;

class CGradientControl : public COwnerDrawnControl, public CGradientModel
{
public:
    CGradientControl();
    ~CGradientControl() override = default;

    // Shows predefined gradient 0 ("White to black") over the client size.
    void Init();

    // The control's own record.
    const GRADIENTCOLORS& GetCurrentGradient() const { return m_gradient; }
    // Takes start, end, every stop and the predefined index of g and repaints; no notification.
    void ChangeGradient(const GRADIENTCOLORS& g);
    // Copies the control's gradient into g.
    void CopyCurrentGradient(GRADIENTCOLORS& g) const;
    bool IsGradientEqual(const GRADIENTCOLORS* g) const { return g && CGradientModel::IsGradientEqual(m_gradient, *g); }
    using CGradientModel::BuildColorBand;
    // The control's gradient over n pixels.
    void BuildColorBand(unsigned char* rgb, int n) const { CGradientModel::BuildColorBand(&m_gradient, rgb, n); }

    // The picture as painted.
    const DisplayBuffer& Picture() const { return m_picture; }

protected:
    // Runs the designer dialog on the gradient; true with the edited gradient in it on OK.
    virtual bool EditGradient(GRADIENTCOLORS& gradient);
    void Paint(wxDC& dc) override;

private:
    void OnPress(wxMouseEvent& event);
    void Rebuild();

    GRADIENTCOLORS m_gradient;
    DisplayBuffer m_picture;
};

namespace detail {

// The control's picture: a frame (white top and left, black bottom and right, grey 128 above the bottom edge) around
// a ground of grey 223, and inside it from (2, 2) every row the band (3 bytes a pixel, red first).
void DrawGradientPicture(DisplayBuffer& picture, int width, int height, const std::vector<unsigned char>& band);

} // namespace detail
