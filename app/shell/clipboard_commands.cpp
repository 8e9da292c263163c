#include "app/shell/clipboard_commands.h"

#include <wx/bitmap.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/image.h>

#include <memory>
#include <optional>
#include <vector>

#include "app/docview/design_view.h"
#include "app/model/fill_style.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/shell/shell_window.h"
#include "app/site/clipboard_objects.h"
#include "app/site/edit_commands.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "image/image.h"
#include "platform/resources/string_ids.h"
#include "platform/text/codepage.h"
#include "platform/win/file.h"

const char* const kObjectsFormatName = "CF_BRIMWEN_ORVEL_OBJECTS";
const char* const kTextFormatName = "CF_BRIMWEN_ORVEL_TEXT";
const char* const kBackgroundFormatName = "CF_BRIMWEN_ORVEL_BACKGROUND";

namespace {

constexpr int kItemsChanged = 10018;
// The out-of-memory dialog.
// Copy still puts the objects on the clipboard for the pages; other programs get no picture of them.
const char* const kPictureTooLarge =
    "This object is too large to be copied as a picture for other programs.\nIt can still be pasted into your pages.";
// Blocks are read as a site file of this version.
constexpr int kMajor = 5;
constexpr int kMinor = 15;

bool g_fromOtherSite = false;

const wxDataFormat& ObjectsFormat()
{
    static const wxDataFormat format(kObjectsFormatName);
    return format;
}
const wxDataFormat& TextFormat()
{
    static const wxDataFormat format(kTextFormatName);
    return format;
}
const wxDataFormat& BackgroundFormat()
{
    static const wxDataFormat format(kBackgroundFormatName);
    return format;
}

CTextObject* EditedText(CSitePage& page)
{
    return page.IsEditingInPlace() ? dynamic_cast<CTextObject*>(page.GetEditedObject()) : nullptr;
}

wxCustomDataObject* Block(const wxDataFormat& format, const CMemFile& file)
{
    auto* data = new wxCustomDataObject(format);
    data->SetData(static_cast<size_t>(file.GetLength()), file.GetBuffer());
    return data;
}

// Opens the clipboard for the time of a call.
class OpenClipboard
{
public:
    OpenClipboard() : m_open(wxTheClipboard->Open()) {}
    ~OpenClipboard()
    {
        if (m_open)
            wxTheClipboard->Close();
    }
    explicit operator bool() const { return m_open; }

private:
    bool m_open;
};

// The bytes put on the clipboard under a format, empty when there are none.
std::vector<BYTE> ReadBlock(const wxDataFormat& format)
{
    wxCustomDataObject data(format);
    if (!wxTheClipboard->IsSupported(format) || !wxTheClipboard->GetData(data))
        return {};
    const BYTE* bytes = static_cast<const BYTE*>(data.GetData());
    return std::vector<BYTE>(bytes, bytes + data.GetSize());
}

wxBitmapDataObject* PictureOf(CPageItem& item)
{
    const RgbPicture picture = RenderItemOnWhite(item);
    if (picture.tooLarge)
        GetMessages().ShowMessage(kPictureTooLarge);
    if (picture.rgb.empty())
        return nullptr;
    wxImage image(picture.width, picture.height, false);
    if (!image.IsOk())
        return nullptr;
    std::copy(picture.rgb.begin(), picture.rgb.end(), image.GetData());
    return new wxBitmapDataObject(wxBitmap(image, 24));
}

// An image of another program as a picture of ours; transparent parts show white.
std::unique_ptr<CImage> ToImage(const wxImage& image)
{
    const int width = image.GetWidth(), height = image.GetHeight();
    auto picture = std::make_unique<CImage>(IMAGE_MODE_RGB, width, height);
    CPixMap map(IMAGE_MODE_RGB, width, height);
    if (picture->IsEmpty() || !map.IsValid())
        return nullptr;
    const unsigned char* rgb = image.GetData();
    const unsigned char* alpha = image.HasAlpha() ? image.GetAlpha() : nullptr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t at = static_cast<size_t>(y) * width + x;
            const int a = alpha ? alpha[at] : 255;
            for (int c = 0; c < 3; ++c)
                *map.Sample(x, y, c) = static_cast<unsigned char>(255 - (255 - rgb[at * 3 + c]) * a / 255);
        }
    if (!picture->SetBuf(0, 0, map))
        return nullptr;
    return picture;
}

void Copy(CShellWindow& shell, COrvelView& view, bool cut)
{
    CSitePage& page = *view.GetPage();
    auto data = std::make_unique<wxDataObjectComposite>();
    CTextObject* text = EditedText(page);
    if (text) {
        if (text->GetTextBody()->m_selectionEmpty)
            return;
        CMemFile formatted, plain;
        text->WriteSelectionFormatted(formatted);
        text->WriteSelectionText(plain);
        const std::string bytes(reinterpret_cast<const char*>(plain.GetBuffer()),
                                static_cast<size_t>(plain.GetLength()));
        data->Add(Block(TextFormat(), formatted), true);
        data->Add(new wxTextDataObject(Windows1252ToClipboardText(bytes.substr(0, bytes.find('\0')))));
    } else {
        CMemFile block;
        if (!WriteObjectsBlock(page, block))
            return;
        data->Add(Block(ObjectsFormat(), block), true);
        if (CPageItem* single = page.GetSingleSelectedItem())
            if (wxBitmapDataObject* picture = PictureOf(*single))
                data->Add(picture);
    }
    {
        OpenClipboard clipboard;
        if (!clipboard || !wxTheClipboard->SetData(data.release()))
            return;
    }
    g_fromOtherSite = false;
    if (cut) {
        if (text) {
            text->DeleteSelection();
        } else {
            const CRect before = view.GetSelectionRect();
            DeleteSelectionWithUndo(page);
            view.RefreshRect(wxRect(before.left, before.top, before.Width(), before.Height()), true);
        }
    }
    shell.NotifyInspector(kItemsChanged);
    view.InvalidateView(false);
}

void Paste(CShellWindow& shell, COrvelView& view)
{
    CSitePage& page = *view.GetPage();
    OpenClipboard clipboard;
    if (!clipboard)
        return;
    if (CTextObject* text = EditedText(page)) {
        if (std::vector<BYTE> block = ReadBlock(TextFormat()); !block.empty()) {
            CMemFile file(block.data(), static_cast<UINT>(block.size()));
            text->PasteFormattedText(file, g_fromOtherSite, !g_fromOtherSite);
        } else if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) {
            wxTextDataObject plain;
            if (!wxTheClipboard->GetData(plain))
                return;
            std::string bytes = ClipboardTextToWindows1252(plain.GetText().ToStdWstring());
            bytes.push_back('\0');
            CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
            text->PastePlainText(file);
        } else {
            return;
        }
    } else if (std::vector<BYTE> block = ReadBlock(ObjectsFormat()); !block.empty()) {
        CMemFile file(block.data(), static_cast<UINT>(block.size()));
        // A block that is not sound pastes nothing.
        const CWebsite* site = page.GetSite();
        if (!PasteObjectsBlock(page, file, g_fromOtherSite, site ? site->GetPageCount() : -1,
                               view.GetVisiblePageRect())) {
            GetMessages().Beep();
            return;
        }
    } else if (wxTheClipboard->IsSupported(wxDF_BITMAP)) {
        wxBitmapDataObject picture;
        if (!wxTheClipboard->GetData(picture) || !picture.GetBitmap().IsOk())
            return;
        if (!PastePicture(page, ToImage(picture.GetBitmap().ConvertToImage()), view.GetVisiblePageRect())) {
            GetModelDialogs().ShowPictureDialog(IDS_NO_MEMORY_FOR_PICTURE);
            return;
        }
    } else {
        return;
    }
    shell.NotifyInspector(kItemsChanged);
    view.InvalidateView(true);
}

void CopyBackground(COrvelView& view)
{
    CMemFile file;
    view.GetPage()->GetBackground()->Write(file);
    OpenClipboard clipboard;
    if (clipboard)
        wxTheClipboard->SetData(Block(BackgroundFormat(), file));
}

void PasteBackground(CShellWindow& shell, COrvelView& view)
{
    CSitePage& page = *view.GetPage();
    if (EditedText(page))
        return;
    std::vector<BYTE> block;
    {
        OpenClipboard clipboard;
        if (!clipboard)
            return;
        block = ReadBlock(BackgroundFormat());
    }
    if (block.empty())
        return;
    auto background = std::make_unique<CFillStyle>();
    try {
        CMemFile file(block.data(), static_cast<UINT>(block.size()));
        background->Read(file, kMajor, kMinor);
    } catch (const CFileException&) {
        GetMessages().Beep();
        return;
    }
    page.GetUndoManager()->RecordUndo(UndoKind::pageSettings);
    background->SetWidth(page.GetWidth());
    background->SetHeight(page.GetHeight());
    page.SetBackground(std::move(background));
    shell.NotifyInspector(kItemsChanged);
    view.InvalidateView(true);
}

bool ClipboardHas(std::initializer_list<wxDataFormat> formats)
{
    OpenClipboard clipboard;
    if (!clipboard)
        return false;
    for (const wxDataFormat& format : formats)
        if (wxTheClipboard->IsSupported(format))
            return true;
    return false;
}

} // namespace

void MarkClipboardFromOtherSite()
{
    g_fromOtherSite = true;
}

std::string ClipboardTextToWindows1252(const std::wstring& text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t ch = text[i];
        if (ch == L'\r')
            continue;
        if (ch == L'\n') {
            bytes += "\r\n";
            continue;
        }
        if (const std::optional<unsigned char> byte = UnicodeToWindows1252(static_cast<char32_t>(ch)); byte && *byte)
            bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

std::wstring Windows1252ToClipboardText(const std::string& text)
{
    std::wstring out;
    for (char c : text)
        out.push_back(c == '\r' ? L'\n' : static_cast<wchar_t>(Windows1252ToUnicode(static_cast<unsigned char>(c))));
    return out;
}

bool HandleClipboardCommand(CShellWindow& shell, COrvelView* view, int id)
{
    switch (id) {
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
        if (view)
            Copy(shell, *view, id == ID_EDIT_CUT);
        return true;
    case ID_EDIT_PASTE:
        if (view)
            Paste(shell, *view);
        return true;
    case ID_COPY_BACKGROUND:
        if (view)
            CopyBackground(*view);
        return true;
    case ID_PASTE_BACKGROUND:
        if (view)
            PasteBackground(shell, *view);
        return true;
    default:
        return false;
    }
}

bool UpdateClipboardCommand(COrvelView* view, wxUpdateUIEvent& event)
{
    CSitePage* page = view ? view->GetPage() : nullptr;
    switch (event.GetId()) {
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
        event.Enable(page && page->HasSelection());
        return true;
    case ID_EDIT_PASTE:
        if (!page)
            event.Enable(false);
        else if (EditedText(*page))
            event.Enable(ClipboardHas({TextFormat(), wxDataFormat(wxDF_UNICODETEXT)}));
        else
            event.Enable(ClipboardHas({ObjectsFormat(), wxDataFormat(wxDF_BITMAP)}));
        return true;
    case ID_COPY_BACKGROUND:
        event.Enable(page && !page->IsEditingInPlace());
        return true;
    case ID_PASTE_BACKGROUND:
        event.Enable(page && ClipboardHas({BackgroundFormat()}));
        return true;
    default:
        return false;
    }
}
