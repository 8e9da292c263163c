#include "app/publish/linked_documents.h"

#include <algorithm>
#include <sys/stat.h>

#include "app/build/linked_files.h"
#include "app/model/link_info.h"
#include "app/objects/page_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

namespace {

bool IsDocumentLink(const CLinkInfo& link)
{
    return link.IsActive() && link.GetKind() == CLinkInfo::kindFile && !link.GetFile().empty();
}

// Calls visit(path, page, item) for every document link of the pages, in order.
template <class Visit> bool ForEachDocumentLink(const CWebsite& site, int onlyPage, Visit visit)
{
    for (int p = 0; p < site.GetPageCount(); ++p) {
        if (onlyPage >= 0 && p != onlyPage)
            continue;
        const CSitePage& page = *site.GetPage(p);
        for (int i = 0; i < page.GetItemCount(); ++i)
            for (const std::string& path : DocumentLinksOf(*page.GetItem(i)->GetCurrentObject()))
                if (!visit(path, p, i))
                    return false;
    }
    return true;
}

} // namespace

bool FileExists(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> DocumentLinksOf(const CPageObject& object)
{
    std::vector<std::string> paths;
    if (!object.HasFill())
        return paths;
    const auto* text = object.GetKind() == objectText ? dynamic_cast<const CTextObject*>(&object) : nullptr;
    if (text && text->IsPlainObject()) {
        for (const CTextParagraph& paragraph : text->GetTextBody()->m_paragraphs)
            for (const CTextChar& ch : paragraph.m_chars)
                if (IsDocumentLink(ch.m_link) && (paths.empty() || paths.back() != ch.m_link.GetFile()))
                    paths.push_back(ch.m_link.GetFile());
        return paths;
    }
    if (const CLinkInfo* link = object.GetLink(); link && IsDocumentLink(*link))
        paths.push_back(link->GetFile());
    return paths;
}

MissingDocument FindMissingFile(const CWebsite& site, int onlyPage)
{
    GetLinkedFiles().clear();
    MissingDocument missing;
    ForEachDocumentLink(site, onlyPage, [&](const std::string& path, int page, int item) {
        if (!FileExists(path)) {
            missing = MissingDocument{path, page, item};
            return false;
        }
        AddLinkedFile(path);
        return true;
    });
    return missing;
}

int ReplaceDocumentLinks(CWebsite& site, const std::string& from, const std::string& to)
{
    int changed = 0;
    auto replace = [&](CLinkInfo& link) {
        if (link.GetKind() == CLinkInfo::kindFile && link.GetFile() == from) {
            link.SetFile(to);
            ++changed;
        }
    };
    for (int p = 0; p < site.GetPageCount(); ++p) {
        CSitePage& page = *site.GetPage(p);
        for (int i = 0; i < page.GetItemCount(); ++i) {
            for (bool mouseOver : {false, true}) {
                CPageObject* object = page.GetItem(i)->GetObject(mouseOver);
                if (!object)
                    continue;
                if (auto* text = dynamic_cast<CTextObject*>(object); text && text->GetTextBody())
                    for (CTextParagraph& paragraph : text->GetTextBody()->m_paragraphs)
                        for (CTextChar& ch : paragraph.m_chars)
                            replace(ch.m_link);
                if (CLinkInfo* link = object->GetLink())
                    replace(*link);
            }
        }
    }
    return changed;
}

std::vector<std::string> CollectLinkedFiles(const CWebsite& site)
{
    std::vector<std::string> files;
    ForEachDocumentLink(site, -1, [&](const std::string& path, int, int) {
        if (FileExists(path) && std::find(files.begin(), files.end(), path) == files.end())
            files.push_back(path);
        return true;
    });
    return files;
}
