#include "app/shell/main_toolbar.h"

#include "app/shell/command_ids.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/resource_folder.h"
#include "platform/resources/string_table.h"

#include <wx/image.h>
#include <wx/xrc/xmlres.h>

namespace {

// The pictures are 32 pixels square: the large size, which the bar uses from the start.
constexpr int kImageSize = 32;

// The first and the last line of a command's text: its status prompt and its label.
void SplitCommandText(const std::string& text, std::string& prompt, std::string& label)
{
    const size_t first = text.find('\n');
    const size_t last = text.rfind('\n');
    prompt = text.substr(0, first);
    label = last == std::string::npos ? text : text.substr(last + 1);
}

} // namespace

COOExToolBar::COOExToolBar(wxWindow* parent, wxWindowID id)
    : wxToolBar(parent, id, wxDefaultPosition, wxDefaultSize, wxTB_FLAT | wxTB_HORIZONTAL | wxTB_TEXT)
{
    SetToolBitmapSize(wxSize(kImageSize, kImageSize));
}

bool COOExToolBar::LoadToolBar(int id)
{
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    // The resource is read into a hidden bar of wx's, whose order, separators and kinds this bar then takes.
    wxToolBar* layout = wxXmlResource::Get()->LoadToolBar(GetParent(), wxString::Format("%d", id));
    if (!layout)
        return false;
    layout->Hide();
    const wxBitmap blank(wxImage(kImageSize, kImageSize, true));
    for (size_t pos = 0; pos < layout->GetToolsCount(); ++pos) {
        const wxToolBarToolBase* tool = layout->GetToolByPos(static_cast<int>(pos));
        if (tool->IsSeparator()) {
            AddSeparator();
            continue;
        }
        std::string text, prompt, label;
        if (LoadResourceString(static_cast<unsigned>(ProgramCommandId(tool->GetId())), text))
            SplitCommandText(text, prompt, label);
        AddTool(tool->GetId(), BytesToWx(label), blank, wxNullBitmap, tool->GetKind(), BytesToWx(label),
                BytesToWx(prompt));
        m_buttonIds.push_back(tool->GetId());
    }
    layout->Destroy();
    if (!LoadImageLists())
        return false;
    Realize();
    return true;
}

void COOExToolBar::SetTextMode(bool show)
{
    if (show == m_showText)
        return;
    m_showText = show;
    SetWindowStyleFlag(show ? GetWindowStyleFlag() | wxTB_TEXT : GetWindowStyleFlag() & ~wxTB_TEXT);
    Realize();
    if (wxWindow* frame = GetParent())
        frame->SendSizeEvent();
}

void COOBmpToolBar::SetBitmap(unsigned bitmapId, int list, unsigned long mask)
{
    if (list >= 0 && list < static_cast<int>(m_sources.size()))
        m_sources[list] = {bitmapId, mask};
}

bool COOBmpToolBar::LoadImageLists()
{
    // The bar uses the large lists: 4 normal, 5 disabled. GTK draws the hot state itself.
    for (int list : {4, 5}) {
        const Source& source = m_sources[list];
        wxImage strip;
        if (source.id == 0 ||
            !strip.LoadFile(wxString::FromUTF8(GetBitmapResourcePath(source.id).string()), wxBITMAP_TYPE_PNG))
            return false;
        strip.SetMaskColour(source.mask & 0xFF, (source.mask >> 8) & 0xFF, (source.mask >> 16) & 0xFF);
        for (size_t i = 0; i < m_buttonIds.size(); ++i) {
            const wxRect square(static_cast<int>(i) * kImageSize, 0, kImageSize, kImageSize);
            if (square.GetRight() >= strip.GetWidth() || square.GetBottom() >= strip.GetHeight())
                return false;
            const wxBitmap picture(strip.GetSubImage(square));
            if (list == 4)
                SetToolNormalBitmap(m_buttonIds[i], picture);
            else
                SetToolDisabledBitmap(m_buttonIds[i], picture);
        }
    }
    return true;
}
