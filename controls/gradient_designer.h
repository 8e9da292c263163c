#pragma once

// The gradient designer: CGradientDesignerControl shows a gradient as a band with a colour well at either end and a
// handle above the band for each stop (its left half in the stop's left colour, its right half in its right
// colour). Dragging a handle's grip moves the stop, clicking its cross removes it, clicking elsewhere on it or on a
// well changes that colour, and clicking the band adds a stop there. Every edit notifies 3024.
// CGradientDesignerDialog holds the control with the list of predefined gradients and a Mirror button.

#include "controls/gradient/gradient_model.h"
#include "controls/owner_drawn_control.h"

#include <memory>
#include <vector>
#include <wx/dialog.h>

class CControlNotifyEvent;
class wxComboBox;

constexpr UINT GRADIENT_DESIGNER_NOTIFY_CHANGED = 3024;
constexpr int GRADIENT_DESIGNER_DIALOG = 6114;
constexpr int GRADIENT_DESIGNER_PLACEHOLDER = 6000;
constexpr int GRADIENT_DESIGNER_PREDEFINED = 6001;
constexpr int GRADIENT_DESIGNER_MIRROR = 6003;

struct GRADIENTHANDLE
{
    CColor leftColor;
    CColor rightColor;
    CRect rect; // x from the start of the band
    std::unique_ptr<CPixMap> image;
    bool shown = true;
};

class CGradientDesignerControl : public COwnerDrawnControl
{
public:
    // Drawing-order entries for the wells; handles are entered by index.
    static constexpr int START_WELL = -1;
    static constexpr int END_WELL = -2;

    CGradientDesignerControl();
    ~CGradientDesignerControl() override;

    // Keeps the record (it must outlive the control), loads the pictures and lays the control out, then reads the
    // record's stops. False when a picture cannot be loaded.
    bool Init(GRADIENTCOLORS* gradient);

    // Reads the kept record anew: stop positions are clamped into 0 to 1 (and written back), each stop gets a
    // handle, and handles that would share an x are moved apart.
    void InsertColors();
    // Turns the gradient round: the wells and every handle's two colours swap, and the handles mirror about the
    // band's middle. Notifies.
    void Mirror();

    std::unique_ptr<GRADIENTHANDLE> NewHandle(const CColor& left, const CColor& right, const CRect& rect) const;
    void UpdateHandleColors(GRADIENTHANDLE& handle) const;

    const CColor& GetStartColor() const { return m_start; }
    const CColor& GetEndColor() const { return m_end; }
    int GetHandleCount() const { return static_cast<int>(m_handles.size()); }
    // The window's own handle stays reachable beside the gradient's handles.
    using COwnerDrawnControl::GetHandle;
    GRADIENTHANDLE& GetHandle(int index) { return *m_handles[index]; }
    const GRADIENTHANDLE& GetHandle(int index) const { return *m_handles[index]; }
    // Takes the handles hidden by others at their x out of the array.
    void RemoveHiddenHandles();
    const std::vector<int>& GetDrawingOrder() const { return m_order; }
    CRect GetBandRect() const { return m_band; }
    int GetBandWidth() const { return m_band.Width(); }
    // The band as shown, one colour per band pixel.
    const std::vector<ControlRgb>& GetBand() const { return m_bandColours; }
    // A handle's centre in client coordinates.
    CPoint HandleCentre(int index) const;
    // Where the grip and the remove mark of a handle lie (client coordinates of a pixel of each).
    CPoint GripPoint(int index) const;
    CPoint RemovePoint(int index) const;
    CRect StartWellRect() const { return m_startWell; }
    CRect EndWellRect() const { return m_endWell; }
    int GetDraggedHandle() const { return m_dragged; }
    // The stops the handles stand for, as a record: positions are the handles' x over the band width.
    void CopyStops(GRADIENTCOLORS& g) const;

protected:
    // Shows the colour dialog on colorref; true with the choice in colorref on OK.
    virtual bool AskColor(unsigned long& colorref);

    bool PressStartsDrag(const CPoint& point) override;
    void DragStarted(const CPoint& point) override;
    void DragMoved(const CPoint& point) override;
    void DragEnded(const CPoint& point, bool captureLost) override;
    void Paint(wxDC& dc) override;

private:
    struct Graphic
    {
        std::unique_ptr<CPixMap> map;
    };
    // The item at a point, from the top of the drawing order down; 0 (no item) leaves *item untouched.
    bool HitItem(const CPoint& point, int* item) const;
    bool HandleMaskAt(const CPixMap& mask, int index, const CPoint& point) const;
    void Click(const CPoint& point);
    void ToTop(int item);
    void Changed();
    void BuildColorBand();

    GRADIENTCOLORS* m_gradient = nullptr;
    CColor m_start{255, 255, 255};
    CColor m_end{255, 255, 255};
    std::vector<std::unique_ptr<GRADIENTHANDLE>> m_handles;
    std::vector<int> m_order;
    int m_dragged = -1;
    int m_dragX = 0;
    CRect m_band, m_startWell, m_endWell;
    std::vector<ControlRgb> m_bandColours;
    std::unique_ptr<CPixMap> m_startFrame, m_startMask, m_endFrame, m_endMask;
    std::unique_ptr<CPixMap> m_handleBase, m_handleImage, m_grip, m_remove;
    bool m_loaded = false;
};

class CGradientDesignerDialog : public wxDialog
{
public:
    // Builds the dialog from its template; IsOk() is false when the template is missing.
    explicit CGradientDesignerDialog(wxWindow* parent);
    ~CGradientDesignerDialog() override;

    // Takes a copy of g to edit; call before the dialog is shown.
    void SetGradient(const GRADIENTCOLORS& g);
    // The edited gradient: the designer's colours and handles and the predefined index.
    void GetGradient(GRADIENTCOLORS& g) const;

    CGradientDesignerControl* Designer() const { return m_designer; }
    wxComboBox* Predefined() const { return m_predefined; }
    int GetPredefinedIndex() const { return m_working.predefined; }

    // The combo's choices as they stand for the working gradient, and a choice taken as the user makes it.
    void FillPredefinedList();
    void ChoosePredefined(int entry);

private:
    void OnDesignerChanged(CControlNotifyEvent& event);
    void OnOk(wxCommandEvent& event);

    GRADIENTCOLORS m_working;
    CGradientDesignerControl* m_designer = nullptr;
    wxComboBox* m_predefined = nullptr;
};

namespace detail {

// The headless rules of the designer, for its tests.

// Handle x for a stop position over a band of width pixels: the position clamped into 0 to 1 (not a number counts
// as 0), times the width, truncated, and kept on the band.
int DesignerHandleX(double position, int bandWidth);

// Moves apart handles (x in ascending order) that share or cross an x: going right each that is not right of its
// left neighbour moves, with all right of it, to one pixel right of the neighbour; then going left the same
// towards the left. Handles that still do not fit are left where the band's end keeps them.
void SeparateHandles(std::vector<int>& xs, int bandWidth);

// The designer's band over width pixels. Items are taken from the top of the drawing order down (the last entry
// is on top; START_WELL and END_WELL stand for the wells, others index xs); each claims its key pixels when no item
// above it has: a handle at x its left colour at x - 1 and its right colour at x (at the band's ends only the one
// that lies on the band). A handle whose x is already claimed is marked not shown. Between keys the colours are
// interpolated.
struct DesignerKeyItem
{
    int x;
    ControlRgb left, right;
};
std::vector<ControlRgb> BuildDesignerBand(const std::vector<int>& order, const std::vector<DesignerKeyItem>& handles,
                                          ControlRgb start, ControlRgb end, int width, std::vector<bool>* shown);

} // namespace detail
