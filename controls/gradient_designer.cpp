#include "controls/gradient_designer.h"

#include "controls/button_controls.h"
#include "platform/gui/control_notify.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/bitmap_resources.h"
#include "platform/resources/string_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dc.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

namespace {

constexpr ControlRgb kBlack{0, 0, 0};
constexpr ControlRgb kWhite{255, 255, 255};
constexpr ControlRgb kShadow{128, 128, 128};

// The designer's pictures by bitmap id: colour (0 for none) and shape.
struct GraphicIds
{
    unsigned colour, alpha;
};

std::unique_ptr<CPixMap> LoadGraphic(GraphicIds ids)
{
    auto map = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, 1, 1);
    if (ids.colour != 0 && !LoadBitmapRGBA(ids.colour, map.get(), true, false))
        return nullptr;
    if (!LoadBitmapRGBA(ids.alpha, map.get(), ids.colour == 0, true))
        return nullptr;
    return map;
}

bool Contains(const CRect& rect, const CPoint& point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

bool AlphaAt(const CPixMap& map, int x, int y)
{
    return x >= 0 && y >= 0 && x < map.width && y < map.height && map.Sample(x, y, 0)[0] != 0;
}

std::string GradientNameText(unsigned id)
{
    std::string text;
    if (!LoadResourceString(id, text))
        text = CGradientModel::GetGradientName(id == 10 ? -1 : static_cast<int>(id) - 6);
    return text;
}

} // namespace

namespace detail {

int DesignerHandleX(double position, int bandWidth)
{
    if (bandWidth < 1)
        return 0;
    const double clamped = std::isnan(position) ? 0.0 : std::clamp(position, 0.0, 1.0);
    return std::min(static_cast<int>(bandWidth * clamped), bandWidth - 1);
}

void SeparateHandles(std::vector<int>& xs, int bandWidth)
{
    const int last = std::max(bandWidth - 1, 0);
    for (size_t i = 1; i < xs.size(); ++i) {
        if (xs[i] <= xs[i - 1]) {
            const int shift = xs[i - 1] + 1 - xs[i];
            for (size_t j = i; j < xs.size(); ++j)
                xs[j] += shift;
        }
    }
    // Pushed past the band's end they come back onto it before moving apart the other way.
    for (int& x : xs)
        x = std::min(x, last);
    for (size_t i = xs.size(); i-- > 1;) {
        if (xs[i - 1] >= xs[i]) {
            const int shift = xs[i - 1] - (xs[i] - 1);
            for (size_t j = 0; j < i; ++j)
                xs[j] -= shift;
        }
    }
    for (int& x : xs)
        x = std::max(x, 0);
}

std::vector<ControlRgb> BuildDesignerBand(const std::vector<int>& order, const std::vector<DesignerKeyItem>& handles,
                                          ControlRgb start, ControlRgb end, int width, std::vector<bool>* shown)
{
    std::vector<ControlRgb> band(static_cast<size_t>(std::max(width, 0)));
    if (shown)
        shown->assign(handles.size(), false);
    if (width < 1)
        return band;
    std::vector<bool> claimed(band.size(), false);
    auto claim = [&](int x, ControlRgb colour) {
        if (x < 0 || x >= width || claimed[x])
            return;
        claimed[x] = true;
        band[x] = colour;
    };
    for (auto entry = order.rbegin(); entry != order.rend(); ++entry) {
        if (*entry == CGradientDesignerControl::START_WELL) {
            claim(0, start);
        } else if (*entry == CGradientDesignerControl::END_WELL) {
            claim(width - 1, end);
        } else if (*entry >= 0 && *entry < static_cast<int>(handles.size())) {
            const DesignerKeyItem& h = handles[*entry];
            if (h.x < 0 || h.x >= width || claimed[h.x])
                continue;
            if (shown)
                (*shown)[*entry] = true;
            if (h.x == 0) {
                claim(0, h.right);
            } else if (h.x == width - 1) {
                claim(width - 1, h.left);
            } else {
                claim(h.x - 1, h.left);
                claim(h.x, h.right);
            }
        }
    }
    // The wells are always in the order, but a band without them still gets its ends.
    claim(0, start);
    claim(width - 1, end);
    int previous = 0;
    for (int x = 1; x < width; ++x) {
        if (!claimed[x])
            continue;
        const ControlRgb a = band[previous], b = band[x];
        const int span = x - previous;
        for (int j = previous + 1; j < x; ++j) {
            auto mix = [&](uint8_t p, uint8_t q) {
                return static_cast<uint8_t>(p + static_cast<int64_t>(j - previous) * (q - p) / span);
            };
            band[j] = {mix(a.red, b.red), mix(a.green, b.green), mix(a.blue, b.blue)};
        }
        previous = x;
    }
    return band;
}

} // namespace detail

CGradientDesignerControl::CGradientDesignerControl() = default;

CGradientDesignerControl::~CGradientDesignerControl() = default;

bool CGradientDesignerControl::Init(GRADIENTCOLORS* gradient)
{
    m_gradient = gradient;
    m_startFrame = LoadGraphic({6013, 6014});
    m_startMask = LoadGraphic({0, 6012});
    m_endFrame = LoadGraphic({6010, 6011});
    m_endMask = LoadGraphic({0, 6009});
    m_handleBase = LoadGraphic({6016, 6017});
    m_handleImage = LoadGraphic({6015, 6018});
    m_grip = LoadGraphic({0, 6020});
    m_remove = LoadGraphic({0, 6021});
    m_loaded =
        m_startFrame && m_startMask && m_endFrame && m_endMask && m_handleBase && m_handleImage && m_grip && m_remove;
    if (!m_loaded)
        return false;
    const CSize client = ClientSize();
    const int e = m_handleBase->width;
    m_band = CRect(e / 2, m_handleBase->height - 7, client.cx - e / 2, client.cy - 2);
    m_startWell = CRect(e / 2 - 1, 0, e / 2 - 1 + m_startMask->width, m_startMask->height);
    const int endRight = client.cx - e / 2 + 1;
    m_endWell = CRect(endRight - m_endMask->width, 0, endRight, m_endMask->height);
    InsertColors();
    return true;
}

std::unique_ptr<GRADIENTHANDLE> CGradientDesignerControl::NewHandle(const CColor& left, const CColor& right,
                                                                    const CRect& rect) const
{
    auto handle = std::make_unique<GRADIENTHANDLE>();
    handle->leftColor = left;
    handle->rightColor = right;
    handle->rect = rect;
    UpdateHandleColors(*handle);
    return handle;
}

void CGradientDesignerControl::UpdateHandleColors(GRADIENTHANDLE& handle) const
{
    if (!m_loaded)
        return;
    const CPixMap& shape = *m_handleImage;
    handle.image = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, shape.width, shape.height);
    const ControlRgb left = detail::RgbOf(handle.leftColor), right = detail::RgbOf(handle.rightColor);
    for (int y = 0; y < shape.height; ++y) {
        for (int x = 0; x < shape.width; ++x) {
            const unsigned char* s = shape.Sample(x, y, 0);
            unsigned char* d = handle.image->Sample(x, y, 0);
            d[0] = s[0];
            if (AlphaAt(*m_grip, x, y)) {
                std::copy_n(s + 1, 3, d + 1);
                continue;
            }
            const ControlRgb c = x < shape.width / 2 ? left : right;
            d[1] = c.blue;
            d[2] = c.green;
            d[3] = c.red;
        }
    }
}

void CGradientDesignerControl::InsertColors()
{
    m_handles.clear();
    m_dragged = -1;
    if (!m_gradient || !m_loaded)
        return;
    m_start = m_gradient->start;
    m_end = m_gradient->end;
    const int width = GetBandWidth();
    const size_t stops = m_gradient->GetStopCount();
    std::vector<int> xs;
    for (size_t i = 0; i < stops; ++i) {
        double& position = m_gradient->positions[i];
        position = std::isnan(position) ? 0.0 : std::clamp(position, 0.0, 1.0);
        xs.push_back(detail::DesignerHandleX(position, width));
    }
    detail::SeparateHandles(xs, width);
    for (size_t i = 0; i < stops; ++i)
        m_handles.push_back(NewHandle(m_gradient->leftColors[i], m_gradient->rightColors[i],
                                      CRect(xs[i], 0, xs[i] + m_handleBase->width, m_handleBase->height)));
    m_order = {START_WELL, END_WELL};
    for (int i = 0; i < GetHandleCount(); ++i)
        m_order.push_back(i);
    BuildColorBand();
    Refresh(false);
}

void CGradientDesignerControl::Mirror()
{
    std::swap(m_start, m_end);
    const int width = GetBandWidth();
    for (auto& handle : m_handles) {
        std::swap(handle->leftColor, handle->rightColor);
        const int x = width - 1 - handle->rect.left;
        handle->rect = CRect(x, handle->rect.top, x + handle->rect.Width(), handle->rect.bottom);
        UpdateHandleColors(*handle);
    }
    std::reverse(m_handles.begin(), m_handles.end());
    const int count = GetHandleCount();
    for (int& entry : m_order)
        entry = entry == START_WELL ? END_WELL : entry == END_WELL ? START_WELL : count - 1 - entry;
    BuildColorBand();
    Refresh(false);
    Notify(GRADIENT_DESIGNER_NOTIFY_CHANGED);
}

void CGradientDesignerControl::RemoveHiddenHandles()
{
    for (int i = GetHandleCount(); i-- > 0;) {
        if (m_handles[i]->shown)
            continue;
        m_handles.erase(m_handles.begin() + i);
        std::erase(m_order, i);
        for (int& entry : m_order)
            if (entry > i)
                --entry;
    }
}

void CGradientDesignerControl::CopyStops(GRADIENTCOLORS& g) const
{
    g.start = m_start;
    g.end = m_end;
    g.RemoveAllStops();
    const int width = std::max(GetBandWidth(), 1);
    for (const auto& handle : m_handles)
        g.AddStop(static_cast<double>(handle->rect.left) / width, handle->leftColor, handle->rightColor);
}

CPoint CGradientDesignerControl::HandleCentre(int index) const
{
    const CRect& r = m_handles[index]->rect;
    return CPoint(r.left + r.Width() / 2, r.top + r.Height() / 2);
}

namespace {

// The first pixel of a mask, in the mask's coordinates, or (-1, -1).
CPoint FirstPixel(const CPixMap* mask)
{
    if (!mask)
        return CPoint(-1, -1);
    for (int y = 0; y < mask->height; ++y)
        for (int x = mask->width / 2; x < mask->width; ++x)
            if (mask->Sample(x, y, 0)[0] != 0)
                return CPoint(x, y);
    return CPoint(-1, -1);
}

} // namespace

CPoint CGradientDesignerControl::GripPoint(int index) const
{
    const CPoint p = FirstPixel(m_grip.get());
    return CPoint(m_handles[index]->rect.left + p.x, m_handles[index]->rect.top + p.y + 1);
}

CPoint CGradientDesignerControl::RemovePoint(int index) const
{
    const CRect& r = m_handles[index]->rect;
    return CPoint(r.left + r.Width() / 2, r.top + 3);
}

void CGradientDesignerControl::BuildColorBand()
{
    std::vector<detail::DesignerKeyItem> items;
    for (const auto& handle : m_handles)
        items.push_back({handle->rect.left, detail::RgbOf(handle->leftColor), detail::RgbOf(handle->rightColor)});
    std::vector<bool> shown;
    m_bandColours =
        detail::BuildDesignerBand(m_order, items, detail::RgbOf(m_start), detail::RgbOf(m_end), GetBandWidth(), &shown);
    for (size_t i = 0; i < m_handles.size(); ++i)
        m_handles[i]->shown = shown[i];
}

bool CGradientDesignerControl::HitItem(const CPoint& point, int* item) const
{
    for (auto entry = m_order.rbegin(); entry != m_order.rend(); ++entry) {
        const CRect rect = *entry == START_WELL ? m_startWell
                           : *entry == END_WELL ? m_endWell
                                                : m_handles[*entry]->rect;
        const CPixMap& shape = *entry == START_WELL ? *m_startFrame : *entry == END_WELL ? *m_endFrame : *m_handleBase;
        if (Contains(rect, point) && AlphaAt(shape, point.x - rect.left, point.y - rect.top)) {
            *item = *entry;
            return true;
        }
    }
    return false;
}

bool CGradientDesignerControl::HandleMaskAt(const CPixMap& mask, int index, const CPoint& point) const
{
    const CRect& r = m_handles[index]->rect;
    return AlphaAt(mask, point.x - r.left, point.y - r.top);
}

void CGradientDesignerControl::ToTop(int item)
{
    std::erase(m_order, item);
    m_order.push_back(item);
}

void CGradientDesignerControl::Changed()
{
    BuildColorBand();
    Refresh(false);
    Notify(GRADIENT_DESIGNER_NOTIFY_CHANGED);
}

bool CGradientDesignerControl::AskColor(unsigned long& colorref)
{
    return RunColorDialog(this, colorref);
}

bool CGradientDesignerControl::PressStartsDrag(const CPoint& point)
{
    if (!m_loaded)
        return false;
    int item = 0;
    if (HitItem(point, &item) && item >= 0 && !HandleMaskAt(*m_remove, item, point) &&
        HandleMaskAt(*m_grip, item, point))
        return true;
    Click(point);
    return false;
}

void CGradientDesignerControl::Click(const CPoint& point)
{
    int item = 0;
    if (HitItem(point, &item)) {
        if (item < 0) {
            CColor& colour = item == START_WELL ? m_start : m_end;
            unsigned long ref = colour.GetCOLORREF();
            if (!AskColor(ref))
                return;
            colour = CColor(ref);
            ToTop(item);
            Changed();
            return;
        }
        if (HandleMaskAt(*m_remove, item, point)) {
            m_handles.erase(m_handles.begin() + item);
            std::erase(m_order, item);
            for (int& entry : m_order)
                if (entry > item)
                    --entry;
            Changed();
            return;
        }
        GRADIENTHANDLE& handle = *m_handles[item];
        const bool left = point.x - handle.rect.left < handle.rect.Width() / 2;
        CColor& colour = left ? handle.leftColor : handle.rightColor;
        unsigned long ref = colour.GetCOLORREF();
        if (!AskColor(ref))
            return;
        colour = CColor(ref);
        UpdateHandleColors(handle);
        ToTop(item);
        Changed();
        return;
    }
    const int width = GetBandWidth();
    const int x = point.x - m_band.left;
    if (!Contains(m_band, point) || x <= 0 || x >= width - 1)
        return;
    for (const auto& handle : m_handles)
        if (std::abs(handle->rect.left - x) < 2)
            return;
    const int at = static_cast<int>(
        std::find_if(m_handles.begin(), m_handles.end(), [x](const auto& h) { return h->rect.left > x; }) -
        m_handles.begin());
    const ControlRgb l = m_bandColours[x], r = m_bandColours[x + 1];
    const int left = x + 1;
    m_handles.insert(m_handles.begin() + at,
                     NewHandle(CColor(l.red, l.green, l.blue), CColor(r.red, r.green, r.blue),
                               CRect(left, 0, left + m_handleBase->width, m_handleBase->height)));
    for (int& entry : m_order)
        if (entry >= at)
            ++entry;
    m_order.push_back(at);
    Changed();
}

void CGradientDesignerControl::DragStarted(const CPoint& point)
{
    int item = 0;
    HitItem(point, &item);
    m_dragged = item;
    m_dragX = point.x;
    ToTop(item);
    Refresh(false);
    Notify(GRADIENT_DESIGNER_NOTIFY_CHANGED);
}

void CGradientDesignerControl::DragMoved(const CPoint& point)
{
    if (m_dragged < 0)
        return;
    GRADIENTHANDLE& handle = *m_handles[m_dragged];
    const int x = std::clamp(handle.rect.left + point.x - m_dragX, 0, std::max(GetBandWidth() - 1, 0));
    for (const auto& other : m_handles)
        if (other.get() != &handle && other->rect.left == x)
            return;
    m_dragX = point.x;
    handle.rect = CRect(x, handle.rect.top, x + handle.rect.Width(), handle.rect.bottom);
    // Passing neighbours, the handle changes places with them so that the array stays in x order.
    auto swapWith = [&](int other) {
        std::swap(m_handles[m_dragged], m_handles[other]);
        for (int& entry : m_order)
            entry = entry == m_dragged ? other : entry == other ? m_dragged : entry;
        m_dragged = other;
    };
    while (m_dragged > 0 && m_handles[m_dragged - 1]->rect.left > x)
        swapWith(m_dragged - 1);
    while (m_dragged + 1 < GetHandleCount() && m_handles[m_dragged + 1]->rect.left < x)
        swapWith(m_dragged + 1);
    BuildColorBand();
    Refresh(false);
}

void CGradientDesignerControl::DragEnded(const CPoint&, bool captureLost)
{
    m_dragged = -1;
    if (!captureLost)
        Notify(GRADIENT_DESIGNER_NOTIFY_CHANGED);
}

void CGradientDesignerControl::Paint(wxDC& dc)
{
    if (!m_loaded)
        return;
    const CSize client = ClientSize();
    CPixMap canvas(IMAGE_MODE_RGBA, std::max<int>(client.cx, 1), std::max<int>(client.cy, 1));
    // The ground is the dialog's own.
    const wxColour ground = GetParent() ? GetParent()->GetBackgroundColour() : wxColour(240, 240, 240);
    FillOpaque(canvas, {ground.Red(), ground.Green(), ground.Blue()});
    const CRect& b = m_band;
    FillMapRect(canvas, b.left - 2, b.top - 2, b.Width() + 3, 1, kShadow);
    FillMapRect(canvas, b.left - 2, b.top - 2, 1, b.Height() + 3, kShadow);
    FillMapRect(canvas, b.left - 2, b.bottom + 1, b.Width() + 4, 1, kWhite);
    FillMapRect(canvas, b.right + 1, b.top - 2, 1, b.Height() + 4, kWhite);
    FillMapRect(canvas, b.left - 1, b.top - 1, b.Width() + 2, b.Height() + 2, kBlack);
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = 0; x < b.Width(); ++x)
            FillMapRect(canvas, b.left + x, y, 1, 1, m_bandColours[x]);
    for (int entry : m_order) {
        if (entry < 0) {
            const bool start = entry == START_WELL;
            const CRect& r = start ? m_startWell : m_endWell;
            BlendMapOver(canvas, start ? *m_startFrame : *m_endFrame, r.left, r.top);
            const CPixMap& mask = start ? *m_startMask : *m_endMask;
            CPixMap fill(IMAGE_MODE_RGBA, mask.width, mask.height);
            FillOpaque(fill, detail::RgbOf(start ? m_start : m_end));
            for (int y = 0; y < mask.height; ++y)
                for (int x = 0; x < mask.width; ++x)
                    fill.Sample(x, y, 0)[0] = mask.Sample(x, y, 0)[0];
            BlendMapOver(canvas, fill, r.left, r.top);
        } else {
            const GRADIENTHANDLE& h = *m_handles[entry];
            BlendMapOver(canvas, *m_handleBase, h.rect.left, h.rect.top);
            if (h.image)
                BlendMapOver(canvas, *h.image, h.rect.left, h.rect.top);
        }
    }
    DrawMap(dc, canvas, 0, 0);
}

CGradientDesignerDialog::CGradientDesignerDialog(wxWindow* parent)
{
    if (!wxXmlResource::Get()->LoadDialog(this, parent, "6114"))
        return;
    wxWindow* placeholder = FindWindow(GRADIENT_DESIGNER_PLACEHOLDER);
    m_predefined = dynamic_cast<wxComboBox*>(FindWindow(GRADIENT_DESIGNER_PREDEFINED));
    if (placeholder) {
        const wxRect area = placeholder->GetRect();
        placeholder->Hide();
        m_designer = new CGradientDesignerControl();
        m_designer->Create(CRect(area.x, area.y, area.GetRight() + 1, area.GetBottom() + 1), placeholder->GetParent(),
                           GRADIENT_DESIGNER_PLACEHOLDER);
        if (wxSizer* sizer = placeholder->GetContainingSizer())
            sizer->Replace(placeholder, m_designer, true);
        Layout();
    }
    Bind(EVT_CONTROL_NOTIFY, &CGradientDesignerDialog::OnDesignerChanged, this, GRADIENT_DESIGNER_PLACEHOLDER);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (m_designer)
                m_designer->Mirror();
        },
        GRADIENT_DESIGNER_MIRROR);
    Bind(wxEVT_BUTTON, &CGradientDesignerDialog::OnOk, this, wxID_OK);
    if (m_predefined) {
        m_predefined->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { ChoosePredefined(m_predefined->GetSelection()); });
        m_predefined->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent& event) {
            FillPredefinedList();
            event.Skip();
        });
    }
}

CGradientDesignerDialog::~CGradientDesignerDialog() = default;

void CGradientDesignerDialog::SetGradient(const GRADIENTCOLORS& g)
{
    m_working = g;
    if (m_designer)
        m_designer->Init(&m_working);
    FillPredefinedList();
}

void CGradientDesignerDialog::GetGradient(GRADIENTCOLORS& g) const
{
    if (m_designer)
        m_designer->CopyStops(g);
    g.predefined = m_working.predefined;
}

void CGradientDesignerDialog::FillPredefinedList()
{
    if (!m_predefined)
        return;
    m_predefined->Clear();
    if (m_working.predefined == -1)
        m_predefined->Append(BytesToWx(GradientNameText(10)));
    for (int n = 0; n < CGradientModel::GetPredefinedNo(); ++n)
        m_predefined->Append(BytesToWx(GradientNameText(6 + n)));
    m_predefined->SetSelection(m_working.predefined == -1 ? 0 : m_working.predefined);
}

void CGradientDesignerDialog::ChoosePredefined(int entry)
{
    if (entry < 0)
        return;
    int n = entry;
    if (m_working.predefined == -1) {
        if (entry == 0)
            return;
        n = entry - 1;
    }
    if (n >= CGradientModel::GetPredefinedNo())
        return;
    CGradientModel::GetPredefinedGradient(m_working, n);
    if (m_designer)
        m_designer->InsertColors();
    // The list loses its "Custom" entry now, so that the next choice counts its entries the same way.
    FillPredefinedList();
}

void CGradientDesignerDialog::OnDesignerChanged(CControlNotifyEvent&)
{
    m_working.predefined = -1;
    if (!m_predefined)
        return;
    m_predefined->Clear();
    m_predefined->Append(BytesToWx(GradientNameText(10)));
    m_predefined->SetSelection(0);
}

void CGradientDesignerDialog::OnOk(wxCommandEvent&)
{
    if (m_designer)
        m_designer->RemoveHiddenHandles();
    EndModal(wxID_OK);
}
