#pragma once

// The offer to download a companion tool that is not installed: the tool's name as the title, what it does, and
// "Download Now" (OK) or Cancel.

#include <wx/dialog.h>

// The companion tools the offer knows, by their offer number (0 to 5): the title and text strings and the tool's
// picture (its button on the tools bar).
struct DownloadOffer
{
    unsigned title;
    unsigned text;
    unsigned picture;
};
// Null for a number outside 0 to 5.
const DownloadOffer* FindDownloadOffer(int offer);

class CDownloadOfferDialog : public wxDialog
{
public:
    CDownloadOfferDialog(int offer, wxWindow* parent);
    bool IsOk() const { return m_bLoaded; }

private:
    bool m_bLoaded = false;
};
