#include "app/dialogs/about_dlg.h"

#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/link_controls.h"
#include "app/dialogs/notice_dialogs.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

std::string GetMakerHomePage()
{
    return "https://www.tallowmere-software.example";
}

std::string GetProgramVersion()
{
    return "6.0";
}

CAboutDLG::CAboutDLG(wxWindow* parent)
{
    AddLinkControlHandlers();
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "5045");
    if (!m_bLoaded)
        return;
    // The texts stand on a coloured band, as on the program's box.
    if (wxWindow* band = FindWindow(556)) {
        band->SetBackgroundColour(wxColour(32, 74, 135));
        for (wxWindow* child : band->GetChildren())
            child->SetForegroundColour(*wxWHITE);
    }
    if (auto* version = dynamic_cast<CTransparentStatic*>(FindWindow(1002)))
        version->SetLabel("Version " + GetProgramVersion());
    if (auto* rights = dynamic_cast<CTransparentStatic*>(FindWindow(1003)))
        rights->SetLabel(wxString::FromUTF8("Copyright \u00a9 Tallowmere Software. All rights reserved."));
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
}

CFeedbackDLG::CFeedbackDLG(wxWindow* parent)
{
    AddLinkControlHandlers();
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "467");
    if (!m_bLoaded)
        return;
    if (auto* text = dynamic_cast<wxStaticText*>(FindWindow(1564)))
        text->Wrap(FromDIP(340));
    if (auto* link = dynamic_cast<CHyperLink*>(FindWindow(1565))) {
        link->SetURL(GetMakerHomePage() + "/Comments.htm");
        link->SetVisited(false);
    }
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
}

CUpgradeDLG::CUpgradeDLG(wxWindow* parent)
{
    AddLinkControlHandlers();
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "548");
    if (!m_bLoaded)
        return;
    SetIconAndText(*this, NoticeIcon::information, BytesToWx(ResourceText(IDS_UPGRADE_AVAILABLE)));
    if (auto* link = dynamic_cast<CHyperLink*>(FindWindow(1565))) {
        link->SetURL(GetMakerHomePage() + "/upgrade");
        link->SetVisited(false);
    }
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
}
