#pragma once

// The main window's toolbar ("Buttonmenu"): flat buttons with a label under each picture, which the user can
// switch off, and drop-down arrows on the buttons that offer a list.

#include <array>
#include <wx/toolbar.h>

class COOExToolBar : public wxToolBar
{
public:
    COOExToolBar(wxWindow* parent, wxWindowID id);

    // Adds the buttons of toolbar resource id in its order, with its separators and drop-down buttons. A button's
    // label and tooltip are the last line of its command's text in the string table, the status prompt the first;
    // a command without a text gets no label. The bar's commands all lie above wx's range of ids. False when the
    // resource is missing.
    virtual bool LoadToolBar(int id);
    // Labels under the buttons, or pictures alone.
    void SetTextMode(bool show);
    bool GetTextMode() const { return m_showText; }
    // The number of buttons, separators not counted.
    int GetButtonCount() const { return static_cast<int>(m_buttonIds.size()); }
    int GetButtonId(int index) const { return m_buttonIds[index]; }

protected:
    // Gives each button its pictures; the base has none to give.
    virtual bool LoadImageLists() { return true; }
    std::vector<int> m_buttonIds;

private:
    bool m_showText = true;
};

// The toolbar whose pictures are cut from strip bitmaps of the resource folder, one square per button in button
// order, with a mask colour standing for transparent.
class COOBmpToolBar : public COOExToolBar
{
public:
    using COOExToolBar::COOExToolBar;

    // The strip for one of the six picture lists: 0 small hot, 1 small normal, 2 small disabled, 3 large hot,
    // 4 large normal, 5 large disabled. The mask colour is a COLORREF.
    void SetBitmap(unsigned bitmapId, int list, unsigned long mask);
    bool LoadImageLists() override;

private:
    struct Source
    {
        unsigned id = 0;
        unsigned long mask = 0;
    };
    std::array<Source, 6> m_sources;
};
