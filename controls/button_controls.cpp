#include "controls/button_controls.h"

#include "platform/resources/bitmap_resources.h"

#include <algorithm>
#include <wx/colordlg.h>
#include <wx/dc.h>

namespace {

constexpr ControlRgb kButtonBlack{0, 0, 0};
constexpr ControlRgb kButtonWhite{255, 255, 255};
constexpr ControlRgb kButtonShadow{128, 128, 128};
constexpr ControlRgb kButtonLight{223, 223, 223};

// Fills a rectangle of an RGBA map, cut to the map, alpha included.
void FillBytes(CPixMap& map, int x, int y, int width, int height, unsigned char alpha, ControlRgb colour)
{
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + width, map.width), bottom = std::min(y + height, map.height);
    for (int row = top; row < bottom; ++row) {
        unsigned char* p = map.Sample(left, row, 0);
        for (int i = left; i < right; ++i, p += 4) {
            p[0] = alpha;
            p[1] = colour.blue;
            p[2] = colour.green;
            p[3] = colour.red;
        }
    }
}

void SetAlpha(CPixMap& map, int x, int y, int width, int height, unsigned char alpha)
{
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + width, map.width), bottom = std::min(y + height, map.height);
    for (int row = top; row < bottom; ++row) {
        unsigned char* p = map.Sample(left, row, 0);
        for (int i = left; i < right; ++i, p += 4)
            p[0] = alpha;
    }
}

std::unique_ptr<CPixMap> LoadGlyph(unsigned id)
{
    if (id == 0)
        return nullptr;
    auto glyph = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, 1, 1);
    if (!LoadKeyedGlyph(id, glyph.get()))
        return nullptr;
    return glyph;
}

} // namespace

namespace detail {

std::pair<unsigned, unsigned> ButtonStyleBitmaps(UINT style)
{
    static const std::pair<unsigned, unsigned> pairs[] = {{6099, 6096}, {6105, 6102}, {6111, 6108},
                                                          {6066, 6067}, {6062, 6063}, {6068, 6069}};
    if (style >= std::size(pairs))
        return {0, 0};
    return pairs[style];
}

unsigned IconGlyphBitmap(int glyph)
{
    switch (glyph) {
    case 0:
        return 6022;
    case 1:
        return 6025;
    case 2:
        return 6026;
    case 3:
        return 6090;
    case 6027:
        return 6027;
    default:
        return 6093;
    }
}

std::unique_ptr<CPixMap> BuildButtonImage(int width, int height, bool checked, const CPixMap* glyph)
{
    auto picture = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, std::max(width, 0), std::max(height, 0));
    CPixMap& image = *picture;
    const int w = image.width, h = image.height;
    if (!checked) {
        FillBytes(image, 0, 0, w, h, 0, kButtonBlack);
        FillBytes(image, 0, 0, w - 1, h - 1, 255, kButtonWhite);
        FillBytes(image, 1, 1, w - 2, h - 2, 128, kButtonShadow);
        FillBytes(image, 1, 1, w - 3, h - 3, 223, kButtonLight);
        SetAlpha(image, 0, 0, w, h, 255);
        SetAlpha(image, 2, 2, w - 4, h - 4, 0);
    } else {
        FillBytes(image, 0, 0, w, h, 255, kButtonWhite);
        FillBytes(image, 0, 0, w - 1, h - 1, 0, kButtonBlack);
        FillBytes(image, 1, 1, w - 2, h - 2, 223, kButtonLight);
        FillBytes(image, 1, 1, w - 3, h - 3, 128, kButtonShadow);
        FillBytes(image, 2, 2, w - 4, h - 4, 223, kButtonLight);
        SetAlpha(image, 0, 0, w, h, 255);
    }
    if (glyph && glyph->IsValid()) {
        const CPoint at = CentredOffset(w - 4, h - 4, glyph->width, glyph->height);
        BlendMapOver(image, *glyph, 2 + at.x, 2 + at.y);
    }
    return picture;
}

CPoint CentredOffset(int clientWidth, int clientHeight, int glyphWidth, int glyphHeight)
{
    return CPoint(std::max((clientWidth - glyphWidth) / 2, 0), std::max((clientHeight - glyphHeight) / 2, 0));
}

ControlRgb RgbOf(const CColor& color)
{
    const unsigned long ref = color.GetCOLORREF();
    return {static_cast<uint8_t>(ref & 0xff), static_cast<uint8_t>((ref >> 8) & 0xff),
            static_cast<uint8_t>((ref >> 16) & 0xff)};
}

void BuildColorSwatch(DisplayBuffer& swatch, int width, int height, const CColor& color)
{
    swatch.Resize(width, height);
    const int w = swatch.Width(), h = swatch.Height();
    swatch.Fill(kButtonBlack);
    swatch.FillRect(0, 0, w - 1, h - 1, kButtonWhite);
    swatch.FillRect(1, 1, w - 2, h - 2, kButtonShadow);
    swatch.FillRect(1, 1, w - 2, h - 3, kButtonLight);
    swatch.FillRect(2, 2, w - 4, h - 4, RgbOf(color));
}

} // namespace detail

CButtonControl::CButtonControl()
{
    Bind(wxEVT_LEFT_DOWN, &CButtonControl::OnPress, this);
}

void CButtonControl::Init(UINT style)
{
    const auto [first, second] = detail::ButtonStyleBitmaps(style);
    const std::unique_ptr<CPixMap> unchecked = LoadGlyph(first);
    const std::unique_ptr<CPixMap> checked = LoadGlyph(second);
    const CSize client = ClientSize();
    m_uncheckedImage = detail::BuildButtonImage(client.cx, client.cy, false, unchecked.get());
    m_checkedImage = detail::BuildButtonImage(client.cx, client.cy, true, checked.get());
    Refresh(true);
}

void CButtonControl::SetCheck(bool check)
{
    m_checked = check;
    Refresh(true);
}

void CButtonControl::OnPress(wxMouseEvent& event)
{
    event.Skip();
    if (!IsEnabledFlag())
        return;
    m_checked = !m_checked;
    Notify(BUTTON_NOTIFY_CLICKED);
    Refresh(true);
}

void CButtonControl::Paint(wxDC& dc)
{
    if (const CPixMap* picture = Picture(m_checked))
        DrawMap(dc, *picture, 0, 0);
}

void CIconControl::Init(int glyph)
{
    m_glyph = LoadGlyph(detail::IconGlyphBitmap(glyph));
    const CSize client = ClientSize();
    m_offset = m_glyph ? detail::CentredOffset(client.cx, client.cy, m_glyph->width, m_glyph->height) : CPoint();
    Refresh(true);
}

void CIconControl::Paint(wxDC& dc)
{
    if (m_glyph)
        DrawMap(dc, *m_glyph, m_offset.x, m_offset.y);
}

CColorControl::CColorControl()
{
    Bind(wxEVT_LEFT_DOWN, &CColorControl::OnPress, this);
}

void CColorControl::Init(const CColor* color)
{
    if (color) {
        m_color = *color;
        m_color.Convert(IMAGE_MODE_RGB);
    }
    const CSize client = ClientSize();
    detail::BuildColorSwatch(m_swatch, client.cx, client.cy, m_color);
    Refresh(false);
}

void CColorControl::SetColor(const CColor& color)
{
    m_color = color;
    m_color.Convert(IMAGE_MODE_RGB);
    const CSize client = ClientSize();
    detail::BuildColorSwatch(m_swatch, client.cx, client.cy, m_color);
    Refresh(false);
}

bool CColorControl::AskColor(unsigned long& colorref)
{
    return RunColorDialog(this, colorref);
}

void CColorControl::OnPress(wxMouseEvent& event)
{
    event.Skip();
    if (!IsEnabledFlag())
        return;
    unsigned long colorref = m_color.GetCOLORREF();
    if (!AskColor(colorref))
        return;
    m_color = CColor(colorref);
    const CSize client = ClientSize();
    detail::BuildColorSwatch(m_swatch, client.cx, client.cy, m_color);
    Notify(COLOR_NOTIFY_CHANGED);
    Refresh(false);
}

void CColorControl::Paint(wxDC& dc)
{
    m_swatch.Draw(dc, 0, 0);
}

bool RunColorDialog(wxWindow* parent, unsigned long& colorref)
{
    wxColourData data;
    data.SetChooseFull(true);
    data.SetColour(wxColour(colorref & 0xff, (colorref >> 8) & 0xff, (colorref >> 16) & 0xff));
    wxColourDialog dialog(parent, &data);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    const wxColour chosen = dialog.GetColourData().GetColour();
    colorref = static_cast<unsigned long>(chosen.Red()) | (static_cast<unsigned long>(chosen.Green()) << 8) |
               (static_cast<unsigned long>(chosen.Blue()) << 16);
    return true;
}
