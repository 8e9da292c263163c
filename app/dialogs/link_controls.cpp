#include "app/dialogs/link_controls.h"

#include <array>
#include <utility>
#include <wx/cursor.h>
#include <wx/xrc/xmlres.h>

#include "app/model/services.h"
#include "platform/win/program_launch.h"

namespace {

const wxColour kLinkColour(0, 0, 255);
const wxColour kActiveColour(0, 0, 255);
const wxColour kVisitedColour(128, 0, 128);
const wxColour kHoverColour(255, 0, 0);

// What is reported when the desktop's handler cannot be started: nothing is set up to open addresses.
constexpr int kNoHandlerCode = 31;

const std::array<std::pair<int, const char*>, 13> kFailureTexts = {{
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
}};

// Makes the link controls of a template: a label, and for the two links a url (empty: the label).
class CLinkControlXmlHandler : public wxXmlResourceHandler
{
public:
    bool CanHandle(wxXmlNode* node) override
    {
        return IsOfClass(node, "CHyperLink") || IsOfClass(node, "CStaticLink") || IsOfClass(node, "CTransparentStatic");
    }

    wxObject* DoCreateResource() override
    {
        wxWindow* parent = GetParentAsWindow();
        const wxString label = GetText("label");
        const std::string url = GetText("url", false).utf8_string();
        wxWindow* control = nullptr;
        if (m_class == "CHyperLink")
            control = new CHyperLink(parent, GetID(), label, url);
        else if (m_class == "CStaticLink")
            control = new CStaticLink(parent, GetID(), label, url);
        else
            control = new CTransparentStatic(parent, GetID(), label);
        control->SetName(GetName());
        SetupWindow(control);
        return control;
    }
};

wxFont Underlined(const wxFont& font, bool underline)
{
    wxFont changed = font;
    changed.SetUnderlined(underline);
    return changed;
}

} // namespace

wxColour GetHyperLinkColour(const HyperLinkState& state)
{
    if (state.hover && (state.style & kLinkUseHover))
        return kHoverColour;
    if (!(state.style & kLinkNoActiveColour) && state.active)
        return kActiveColour;
    if (state.visited)
        return kVisitedColour;
    return kLinkColour;
}

std::string GetLinkOpenFailureText(int code)
{
    for (const auto& [number, text] : kFailureTexts)
        if (number == code)
            return text;
    return "Unknown Error (" + std::to_string(code) + ") occurred.";
}

CHyperLink::CHyperLink(wxWindow* parent, wxWindowID id, const wxString& text, const std::string& url, int style)
    : wxGenericStaticText(parent, id, text.empty() ? wxString::FromUTF8(url) : text), m_url(url)
{
    m_state.style = style;
    if (m_url.empty())
        m_url = GetLabel().utf8_string();
    // The window was made while it was still a plain text, which takes no focus: Tab is to reach the link.
    SetCanFocus(true);
    SetFont(Underlined(GetFont(), (style & kLinkUnderline) != 0));
    if (!(style & kLinkNoHandCursor))
        SetCursor(wxCursor(wxCURSOR_HAND));
    SetToolTip(wxString::FromUTF8(m_url));
    FitToText();
    ApplyState();
    Bind(wxEVT_ENTER_WINDOW, &CHyperLink::OnEnter, this);
    Bind(wxEVT_LEAVE_WINDOW, &CHyperLink::OnLeave, this);
    Bind(wxEVT_LEFT_DOWN, &CHyperLink::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CHyperLink::OnLeftUp, this);
    Bind(wxEVT_SET_FOCUS, &CHyperLink::OnSetFocus, this);
    Bind(wxEVT_KILL_FOCUS, &CHyperLink::OnKillFocus, this);
    Bind(wxEVT_KEY_DOWN, &CHyperLink::OnKeyDown, this);
}

void CHyperLink::SetURL(const std::string& url)
{
    m_url = url;
    SetToolTip(wxString::FromUTF8(m_url));
    FitToText();
}

void CHyperLink::SetVisited(bool visited)
{
    m_state.visited = visited;
    ApplyState();
}

bool CHyperLink::GotoURL()
{
    if (OpenWithDefaultHandler(m_url)) {
        SetVisited(true);
        return true;
    }
    Messages& messages = GetMessages();
    messages.Beep();
    messages.ShowMessage("Can't open link:\n\n" + GetLinkOpenFailureText(kNoHandlerCode));
    return false;
}

void CHyperLink::ApplyState()
{
    SetForegroundColour(GetHyperLinkColour(m_state));
    Refresh();
}

void CHyperLink::FitToText()
{
    if (!(m_state.style & kLinkAutoSize))
        return;
    const wxSize size = GetBestSize();
    SetMinSize(size);
    SetSize(size);
}

void CHyperLink::OnEnter(wxMouseEvent& event)
{
    m_state.hover = true;
    ApplyState();
    event.Skip();
}

void CHyperLink::OnLeave(wxMouseEvent& event)
{
    m_state.hover = false;
    ApplyState();
    event.Skip();
}

void CHyperLink::OnLeftDown(wxMouseEvent& event)
{
    if (m_state.style & kLinkGetFocusOnClick)
        SetFocus();
    if (m_state.style & kLinkDownClick)
        GotoURL();
    m_state.active = true;
    ApplyState();
    event.Skip();
}

void CHyperLink::OnLeftUp(wxMouseEvent& event)
{
    if (m_state.active && !(m_state.style & kLinkDownClick))
        GotoURL();
    event.Skip();
}

void CHyperLink::OnSetFocus(wxFocusEvent& event)
{
    m_state.active = true;
    ApplyState();
    event.Skip();
}

void CHyperLink::OnKillFocus(wxFocusEvent& event)
{
    m_state.active = m_state.hover = false;
    ApplyState();
    event.Skip();
}

void CHyperLink::OnKeyDown(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_SPACE)
        GotoURL();
    else
        event.Skip();
}

CStaticLink::CStaticLink(wxWindow* parent, wxWindowID id, const wxString& text, const std::string& url)
    : wxGenericStaticText(parent, id, text), m_url(url)
{
    SetFont(Underlined(GetFont(), true));
    SetForegroundColour(kLinkColour);
    SetCursor(wxCursor(wxCURSOR_HAND));
    SetMinSize(GetBestSize());
    Bind(wxEVT_LEFT_UP, &CStaticLink::OnClick, this);
}

void CStaticLink::OnClick(wxMouseEvent& event)
{
    if (m_url.empty())
        m_url = GetLabel().utf8_string();
    if (!OpenWithDefaultHandler(m_url)) {
        GetMessages().Beep();
    } else {
        m_visited = true;
        SetForegroundColour(kVisitedColour);
        Refresh();
    }
    event.Skip();
}

CTransparentStatic::CTransparentStatic(wxWindow* parent, wxWindowID id, const wxString& text)
    : wxGenericStaticText(parent, id, text)
{
    // No background colour of its own: the text stands on the dialog's background, whatever is painted there.
    SetBackgroundColour(wxNullColour);
}

void CTransparentStatic::SetLinkLook(bool link)
{
    m_linkLook = link;
    SetCursor(link ? wxCursor(wxCURSOR_HAND) : wxNullCursor);
}

void AddLinkControlHandlers()
{
    static bool added = false;
    if (added)
        return;
    wxXmlResource::Get()->AddHandler(new CLinkControlXmlHandler);
    added = true;
}
