#include "app/palettes/object_code_objects.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "app/palettes/palette_edit.h"
#include "app/palettes/palette_protocol.h"
#include "app/site/edit_commands.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/resources/string_ids.h"

namespace {

// The notice that HTML objects need their files added to the site.

// The largest number that follows word and then "=" or ":" (blanks and tabs allowed before the sign), taking the
// first run of digits after the sign wherever it stands.
long LargestAfter(const std::string& text, const std::string& word)
{
    long largest = 0;
    size_t at = 0;
    while ((at = text.find(word, at)) != std::string::npos) {
        size_t i = at + word.size();
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        if (i >= text.size() || (text[i] != '=' && text[i] != ':'))
            break;
        while (i < text.size() && !std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        if (i >= text.size())
            break;
        long number = 0;
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
            // A run of digits too long for a size stops growing at the largest int.
            number = std::min<long>(number * 10 + (text[i] - '0'), std::numeric_limits<int>::max());
        largest = std::max(largest, number);
        at = i;
    }
    return largest;
}

CHtmlObject* CurrentHtmlObject()
{
    return dynamic_cast<CHtmlObject*>(GetPaletteObject());
}

} // namespace

CRect MeasureHtmlSize(const CRect& base, const std::string& text)
{
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const long width = std::max<long>(LargestAfter(lower, "width"), base.Width());
    const long height = std::max<long>(LargestAfter(lower, "height"), base.Height());
    return CRect(0, 0, static_cast<int>(width), static_cast<int>(height));
}

bool ApplyCounterStyle(int entry)
{
    if (entry < 0)
        return false;
    return ApplyObjectEdit(
        kUndoObject,
        [&](const CPageObject& object) {
            const auto* counter = dynamic_cast<const CCounterObject*>(&object);
            return !counter || counter->GetStyle() == entry;
        },
        [&](CPageObject& object) { static_cast<CCounterObject&>(object).SetStyle(entry); });
}

bool ApplyFormEmail(const std::string& address)
{
    CSitePage* page = GetCurrentPage();
    auto* form = dynamic_cast<CFormObject*>(GetPaletteObject());
    if (!page || !form || form->GetEmailAddress() == address)
        return false;
    // The address changes no pixel: nothing is drawn again.
    if (CUndoManager* undo = page->GetUndoManager())
        undo->RecordUndo(kUndoObject);
    form->SetEmailAddress(address);
    return true;
}

bool EditHtmlObject(bool justPlaced)
{
    CSitePage* page = GetCurrentPage();
    CHtmlObject* html = CurrentHtmlObject();
    if (!page || !html || page->GetSelectedItemCount() > 1)
        return false;
    Messages& messages = GetMessages();
    HtmlObjectTexts texts{html->GetName(), html->GetHtmlCode(), html->GetHeaderHtml(), html->GetOnloadCode(),
                          html->GetUsedFiles()};
    if (!GetModelDialogs().RunInsertHtmlDialog(texts))
        return false;
    // The dialog may have changed what is current.
    html = CurrentHtmlObject();
    if (!html)
        return false;
    ApplyObjectEdit(
        kUndoObject, [](const CPageObject&) { return false; },
        [&](CPageObject&) {
            html->SetName(texts.m_strName);
            html->SetHtmlCode(texts.m_htmlCode);
            html->SetHeaderHtml(texts.m_headerHtml);
            html->SetOnloadCode(texts.m_onloadCode);
            html->SetUsedFiles(texts.m_usedFiles);
            if (justPlaced) {
                SIZE size;
                html->GetSize(size);
                const CRect before(0, 0, size.cx, size.cy);
                const CRect fitted = MeasureHtmlSize(MeasureHtmlSize(before, texts.m_htmlCode), texts.m_headerHtml);
                if (fitted.Width() > before.Width() || fitted.Height() > before.Height())
                    html->SetSize(fitted.Width(), fitted.Height());
            }
            html->SetDirty();
        });
    GetToolsAndInspector().NotifyInspector(kRefreshAll);
    if (PageView* view = GetCurrentView())
        view->InvalidateView(true);
    CAppSettings* settings = GetAppSettings();
    if (settings && settings->m_showHtmlSaveWarning) {
        bool dontShowAgain = false;
        if (messages.ShowNoticeDialog(IDS_HTML_SAVE_NOTICE, dontShowAgain) == DialogAnswer::ok)
            settings->m_showHtmlSaveWarning = !dontShowAgain;
    }
    return true;
}

void AddFlashObject()
{
    // The site runs the wizard over its own files, takes the files placed and gives the object the program's code.
    if (CWebsite* site = GetCurrentSite())
        site->OnFilePlacementWizard();
    if (CSitePage* page = GetCurrentPage())
        page->RenderDirtyObjects();
}

bool RemoveFlashObject()
{
    CSitePage* page = GetCurrentPage();
    CHtmlObject* html = CurrentHtmlObject();
    if (!page || !html)
        return false;
    Messages& messages = GetMessages();
    if (!html->GetPlacedFlag()) {
        messages.ShowMessage("This object doesn't contain Flash applications.");
        return false;
    }
    const YesNoCancel answer = messages.AskYesNoCancel(
        "You are about to delete a Flash object from your Website.\n\nDo you want to remove all associated files and "
        "folders? \nIf you select no, you can still remove the files manually through the Settings Menu. ");
    if (answer == YesNoCancel::cancel)
        return false;
    if (answer == YesNoCancel::yes) {
        if (CWebsite* site = GetCurrentSite())
            for (const std::string& file : html->GetUsedFiles())
                site->RemoveFilePair(file);
        messages.ShowMessage("The associated files for this object were successfully removed");
    }
    // An ordinary delete: the history keeps the object, so Undo brings it back.
    DeleteSelectionWithUndo(*page);
    GetToolsAndInspector().NotifyInspector(kRefreshSelection);
    if (PageView* view = GetCurrentView())
        view->InvalidateView(true);
    return true;
}
