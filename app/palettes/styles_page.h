#pragma once

// The Styles palette's page: thirty picture buttons, one per preset style. A click applies its style to every object
// of the selected groups (styles_page_logic.h decides what that does). The buttons show their previews greyed
// while the selection cannot take a style; each works that out when it paints, so the page only has them repainted
// when the selection changes.

#include <array>
#include <wx/bitmap.h>

#include "app/palettes/palette_page.h"
#include "app/palettes/styles_page_logic.h"

class CStylesPage : public CPalettePage
{
public:
    explicit CStylesPage(wxWindow* parent);

    // The preview of style 1 to 30 in the look for a selection that can (or cannot) take a style; an empty bitmap
    // when its file is missing.
    const wxBitmap& GetPreview(int style, bool available) const;

protected:
    void FillControls() override;

private:
    void OnStyleButton(wxCommandEvent& event);

    std::array<wxBitmap, kStyleCount> m_available;
    std::array<wxBitmap, kStyleCount> m_unavailable;
};
