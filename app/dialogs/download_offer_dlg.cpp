#include "app/dialogs/download_offer_dlg.h"

#include <array>
#include <wx/image.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "platform/gui/text_bytes.h"
#include "platform/resources/resource_folder.h"
#include "platform/resources/string_table.h"

namespace {

// Font Studio, Button Maker, Image Editor, Banner Animator, Logo Designer and Photo Album.
constexpr std::array<DownloadOffer, 6> kOffers = {{
    {7007, 7011, 563},
    {7004, 7008, 135},
    {7006, 7010, 136},
    {7005, 7009, 137},
    {6990, 6991, 618},
    {6999, 6998, 651},
}};

wxString Text(unsigned id)
{
    return BytesToWx(ResourceText(id));
}

} // namespace

const DownloadOffer* FindDownloadOffer(int offer)
{
    if (offer < 0 || offer >= static_cast<int>(kOffers.size()))
        return nullptr;
    return &kOffers[static_cast<size_t>(offer)];
}

CDownloadOfferDialog::CDownloadOfferDialog(int offer, wxWindow* parent)
{
    const DownloadOffer* row = FindDownloadOffer(offer);
    m_bLoaded = row && wxXmlResource::Get()->LoadDialog(this, parent, "569");
    if (!m_bLoaded)
        return;
    SetTitle(Text(row->title));
    if (auto* text = dynamic_cast<wxStaticText*>(FindWindow(1429))) {
        text->SetLabel(Text(row->text));
        text->Wrap(FromDIP(320));
    }
    if (auto* picture = dynamic_cast<wxStaticBitmap*>(FindWindow(1545))) {
        // The picture leaves its light grey to the dialog; without it the text stands alone.
        wxImage image;
        if (image.LoadFile(wxString::FromUTF8(GetBitmapResourcePath(row->picture).string()), wxBITMAP_TYPE_PNG)) {
            image.SetMaskColour(0xE0, 0xE0, 0xE0);
            picture->SetBitmap(wxBitmap(image));
            picture->SetMinSize(image.GetSize());
        } else {
            picture->Hide();
        }
    }
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
}
