#pragma once

// The main window's status bar: the message pane, then the picture file, the position, the page count and the
// download time, each as wide as its sample text. A changed pane is drawn with the next paint of the window, not
// at once as wx's own bar does: drawing at once paints the whole window before the toolkit has laid out what
// changed with it (the tab of a page just opened), which the toolkit reports as an error on the standard error
// stream.

#include <array>
#include <string>
#include <wx/statusbr.h>

class COrvelView;
class CSitePage;
class CWebsite;

class CStatusPanesBar : public wxStatusBar
{
public:
    explicit CStatusPanesBar(wxWindow* parent);

    // The panes after the message pane, for the open site, the active page and its view (each may be null).
    void ShowPanes(const CWebsite* site, const CSitePage* page, const COrvelView* view);

protected:
    void DoUpdateStatusText(int number) override;

private:
    std::array<std::string, 5> m_paneTexts;
};
