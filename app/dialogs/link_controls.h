#pragma once

// The link texts of the dialogs: CHyperLink (colours by state, hand cursor, tooltip, keyboard use, a message when
// the link cannot be opened), the lighter CStaticLink, and CTransparentStatic, a text on the dialog's background
// that can look like a link. Links open with the desktop's default handler. Dialog templates place them as objects
// of their class names ("CHyperLink", "CStaticLink", "CTransparentStatic") with a <label> and, for the two links,
// a <url>; AddLinkControlHandlers teaches the template loader those names.

#include <string>
#include <wx/generic/stattextg.h>

// Link style flags of CHyperLink.
enum HyperLinkStyle
{
    kLinkUnderline = 1,
    kLinkUseHover = 2,
    kLinkAutoSize = 4,
    kLinkDownClick = 8,
    kLinkGetFocusOnClick = 16,
    kLinkNoHandCursor = 32,
    kLinkNoActiveColour = 64,
    kLinkDefaultStyle = kLinkUnderline | kLinkAutoSize | kLinkGetFocusOnClick,
};

struct HyperLinkState
{
    bool active = false;
    bool hover = false;
    bool visited = false;
    int style = kLinkDefaultStyle;
};

// The colour the link's text takes in its state (the first that applies: hover, active, visited, plain).
wxColour GetHyperLinkColour(const HyperLinkState& state);
// The message shown when a link cannot be opened, by its failure code.
std::string GetLinkOpenFailureText(int code);

class CHyperLink : public wxGenericStaticText
{
public:
    // An empty url takes the text, an empty text the url.
    CHyperLink(wxWindow* parent, wxWindowID id, const wxString& text, const std::string& url,
               int style = kLinkDefaultStyle);

    void SetURL(const std::string& url);
    const std::string& GetURL() const { return m_url; }
    void SetVisited(bool visited);
    const HyperLinkState& GetState() const { return m_state; }
    // Opens the address; on success the link turns visited, otherwise the user is told why.
    bool GotoURL();
    // Tab reaches the link, and the space bar opens it.
    bool AcceptsFocus() const override { return true; }
    bool AcceptsFocusFromKeyboard() const override { return true; }

private:
    void ApplyState();
    void FitToText();
    void OnEnter(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnKeyDown(wxKeyEvent& event);

    std::string m_url;
    HyperLinkState m_state;
};

class CStaticLink : public wxGenericStaticText
{
public:
    CStaticLink(wxWindow* parent, wxWindowID id, const wxString& text, const std::string& url = {});

    void SetURL(const std::string& url) { m_url = url; }
    bool IsVisited() const { return m_visited; }

private:
    void OnClick(wxMouseEvent& event);

    std::string m_url;
    bool m_visited = false;
};

class CTransparentStatic : public wxGenericStaticText
{
public:
    CTransparentStatic(wxWindow* parent, wxWindowID id, const wxString& text);
    // With the link look the text shows the hand cursor over it.
    void SetLinkLook(bool link);
    bool HasLinkLook() const { return m_linkLook; }

private:
    bool m_linkLook = false;
};

// Lets dialog templates hold the three controls by their class names. Safe to call more than once; every dialog
// that places one calls it before it loads its template.
void AddLinkControlHandlers();
