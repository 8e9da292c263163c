// The HTML file of one page: the head with its styles and the user's head code, the page background, then one
// absolutely positioned block per object (a picture, HTML text, or the object's own HTML), in z-order.
//
// The page is put together in memory and written in one go, so that a failed write is reported rather than
// leaving half a page that looks complete.

#include "app/build/page_writer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <span>

#include "app/build/linked_files.h"
#include "app/build/url_scheme.h"
#include "app/model/string_attr.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "app/objects/page_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/win/file.h"

namespace {

// The head comment names the maker.
constexpr const char* kMakerNotice = "     Copyright (c) 2026 Tallowmere Software";
constexpr const char* kMakerAddress = "     www.tallowmere.example";

constexpr const char* kDoctypeTransitional =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">";
constexpr const char* kDoctypeStrict =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">";

// Every literal line of the page is a printf format; arguments are numbers and texts already made safe.
__attribute__((format(printf, 2, 3))) void Append(std::string& out, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(length) + 1);
        std::vsnprintf(out.data() + at, static_cast<size_t>(length) + 1, format, again);
        out.resize(at + static_cast<size_t>(length));
    }
    va_end(again);
}

int Red(COLORREF color)
{
    return static_cast<int>(color & 0xFF);
}
int Green(COLORREF color)
{
    return static_cast<int>((color >> 8) & 0xFF);
}
int Blue(COLORREF color)
{
    return static_cast<int>((color >> 16) & 0xFF);
}

// Characters that cannot stand as themselves where the text goes, with what stands for them.
struct CharEntity
{
    char ch;
    const char* text;
};

// Text the user typed inside a double-quoted attribute value or an element.
constexpr CharEntity kAttributeEntities[] = {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}};
// The characters of HTML text keep the numeric form pages have always had.
constexpr CharEntity kTextEntities[] = {{'&', "&#38;"}, {'<', "&#60;"}, {'>', "&#62;"}, {'"', "&#34;"}};
// The mouse-over handlers are script in a single-quoted attribute, and the addresses stand in the script's double
// quotes: quotes and backslashes are escaped for the script, the markup characters for the attribute.
constexpr CharEntity kScriptEntities[] = {{'\\', "\\\\"}, {'"', "\\x22"}, {'\'', "\\x27"},
                                          {'&', "&amp;"}, {'<', "&lt;"},  {'>', "&gt;"}};

void AppendEscaped(std::string& out, char ch, std::span<const CharEntity> entities)
{
    for (const CharEntity& entity : entities) {
        if (entity.ch == ch) {
            out += entity.text;
            return;
        }
    }
    out += ch;
}

std::string Escaped(const std::string& text, std::span<const CharEntity> entities)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text)
        AppendEscaped(out, ch, entities);
    return out;
}

std::string EscapeAttribute(const std::string& text)
{
    return Escaped(text, kAttributeEntities);
}

// Pages are Windows text files: every line feed ends up as CR LF, and one the user's code already pairs with a
// CR is not doubled.
std::string ToCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

std::string Cause(const CFileException& error)
{
    return error.m_lOsError > 0 ? std::strerror(static_cast<int>(error.m_lOsError)) : "cannot be written";
}

const char* AlignmentWord(int alignment)
{
    switch (alignment) {
    case 0:
        return "left";
    case 1:
        return "center";
    case 2:
        return "right";
    case 3:
        return "justified";
    default:
        return "";
    }
}

// The output file name of the page record of that name; empty when there is none.
std::string FindPageFileName(const CSiteBuilder& builder, const std::string& pageName)
{
    return builder.FindPageFileName(pageName);
}

CPageObject* ObjectOf(const CObjectBuildRecord& object)
{
    return object.item ? object.item->GetCurrentObject() : nullptr;
}

int KindOf(const CObjectBuildRecord& object)
{
    const CPageObject* current = ObjectOf(object);
    return current ? current->GetKind() : -1;
}

class CPageWriter
{
public:
    CPageWriter(CPageBuildRecord& record, CSiteBuilder& builder, const SiteBuildOptions& options)
        : m_record(record), m_builder(builder), m_options(options), m_page(*record.page)
    {
    }

    std::string Write()
    {
        WritePageHead();
        if (m_page.IsCentered())
            WriteContainerOpen();
        WriteBackground();
        WriteObjects();
        if (m_page.IsCentered())
            WriteContainerClose();
        WriteAnalytics();
        return std::move(m_out);
    }

    // The page's head HTML and then that of its HTML objects, each followed by a line feed.
    std::string CollectHeadHtml() const
    {
        return CollectCode(m_page.GetHeaderHtml(), &CHtmlObject::GetHeaderHtml, "\n");
    }
    // The page's onload code and then that of its HTML objects, each ended as a statement.
    std::string CollectOnload() const { return CollectCode(m_page.GetOnloadCode(), &CHtmlObject::GetOnloadCode, ";"); }

private:
    std::string CollectCode(const std::string& pageCode, const std::string& (CHtmlObject::*objectCode)() const,
                            const char* end) const
    {
        std::string code = pageCode.empty() ? std::string() : pageCode + end;
        for (const auto& object : m_record.objects) {
            if (KindOf(*object) != objectHtml)
                continue;
            const std::string& more = (static_cast<const CHtmlObject*>(ObjectOf(*object))->*objectCode)();
            if (!more.empty())
                code += more + end;
        }
        return code;
    }

    void WritePageHead()
    {
        m_out += m_page.GetDoctype() == 0 ? kDoctypeTransitional : kDoctypeStrict;
        m_out += "\n";
        m_out += "<html>\n\n";
        m_out += "<head>\n";
        if (!m_page.GetKeywords().empty())
            Append(m_out, "<meta name=\"keywords\" content=\"%s\">\n", EscapeAttribute(m_page.GetKeywords()).c_str());
        if (!m_page.GetDescription().empty())
            Append(m_out, "<meta name=\"description\" content=\"%s\">\n",
                   EscapeAttribute(m_page.GetDescription()).c_str());
        m_out += "<meta name=\"generator\" content=\"Tallowmere Pelorin, Version 6.0 Build 6 for Windows\">\n\n";
        m_out += "<meta http-equiv=\"Content-Type\" content=\"text/html;charset=ISO-8859-1\">\n\n";
        m_out += "<!-- \n";
        m_out += "     This Website was created with Tallowmere Pelorin.\n";
        Append(m_out, "%s\n%s\n", kMakerNotice, kMakerAddress);
        m_out += "//-->\n";
        if (!m_page.GetTitle().empty())
            Append(m_out, "<title> %s </title>\n\n", EscapeAttribute(m_page.GetTitle()).c_str());

        WriteTextStyles();
        WriteObjectPositions();

        const std::string headHtml = CollectHeadHtml();
        if (!headHtml.empty()) {
            m_out += "<!--html inserted by user -->\n";
            m_out += headHtml;
            m_out += "<!--end of html inserted by user -->\n";
        }
        for (const auto& object : m_record.objects) {
            if (KindOf(*object) == objectForm) {
                m_out += "<script language=JavaScript>\n<!--\nfunction WriteSenderWindow()\n{\n"
                         "  document.formular.senderwindow.value = this.window.location;\n}\n// -->\n</script>\n";
                break;
            }
        }

        m_out += "\n\n<!-- centering -->\n";
        m_out += "<style type=\"text/css\">\nbody {\n margin: 0px;\n padding : 0px;\n text-align: center;\n"
                 " height: 100%;\n width: 100%;\n";
        WriteBodyBackground();
        Append(m_out, "\na:link {\n color: #%.2x%.2x%.2x;\n}\n\n", Red(m_record.linkColor), Green(m_record.linkColor),
               Blue(m_record.linkColor));
        Append(m_out, "\na:visited  {\n color: #%.2x%.2x%.2x;\n}\n\n", Red(m_record.visitedColor),
               Green(m_record.visitedColor), Blue(m_record.visitedColor));
        m_out += "</style>\n";
        m_out += "<!-- --------- -->\n\n";
        m_out += "\n\n<!-- centering -->\n";
        Append(m_out,
               "<style type=\"text/css\">\n#container { position:relative; margin: 0px auto 0 auto; height: 100%%; "
               "width:%dpx; text-align:left; padding-left:0px;}\n</style>\n",
               m_page.GetWidth());
        m_out += "\n\n<!-- centering -->\n";
        m_out += "<!-- --------- -->\n\n";
        m_out += "</head>\n";
        m_out += "\n";

        const std::string onload = CollectOnload();
        const std::string attribute = onload.empty() ? std::string() : "onload = \"" + EscapeAttribute(onload) + "\"";
        Append(m_out, "<body %s >", attribute.c_str());
        m_out += "\n";
    }

    void WriteColorLine(COLORREF color)
    {
        Append(m_out, " background-color: #%.2x%.2x%.2x;\n}\n\n", Red(color), Green(color), Blue(color));
    }

    // Inside a style element entities are not decoded, so the address stands as it is.
    void WriteImageLine() { Append(m_out, " background-image: url('%s');\n}\n\n", m_record.backgroundUrl.c_str()); }

    void WriteBodyBackground()
    {
        const COLORREF outside = static_cast<COLORREF>(m_record.outsideColor.GetCOLORREF());
        if (!m_record.fillOutside) {
            WriteColorLine(outside);
            return;
        }
        switch (m_record.backgroundKind) {
        case 0:
            WriteColorLine(m_record.backgroundColor);
            break;
        case 1:
            if (m_record.tiled)
                WriteImageLine();
            else
                WriteColorLine(outside);
            break;
        case 2:
            WriteImageLine();
            break;
        // A kind nothing paints still closes the rule, or the link colours below would be swallowed by it.
        default:
            m_out += "}\n\n";
            break;
        }
    }

    void WriteTextStyles()
    {
        m_out += "<style type=\"text/css\">\n";
        for (size_t i = 0; i < m_record.textStyles.size(); ++i) {
            const TextStyleEntry& style = m_record.textStyles[i];
            Append(m_out,
                   ".textstyle%d {font-family:%s;font-weight:%s;font-style:%s;font-size:%dpt;text-decoration:%s;"
                   "color:#%.2x%.2x%.2x;}\n",
                   static_cast<int>(i), style.face.c_str(), style.bold ? "bold" : "normal",
                   style.italic ? "italic" : "normal", style.height, style.underline ? "underline" : "none",
                   Red(style.color), Green(style.color), Blue(style.color));
        }
        m_out += "</style>\n";
    }

    void WriteObjectPositions()
    {
        m_out += "\n<style type=\"text/css\">\n";
        for (const auto& object : m_record.objects)
            WriteObjectPosition(*object);
        m_out += "</style>\n";
    }

    void WriteObjectPosition(CObjectBuildRecord& object)
    {
        object.className = "Object" + std::to_string(m_builder.NextClassNumber());
        const char* name = object.className.c_str();
        const int kind = KindOf(object);
        if (kind == objectHtml || kind == objectForm) {
            // These keep their own size; only their width is fixed, so that the code wraps as designed.
            const CRect bounds = object.item->GetRect();
            Append(m_out, "div.%s { position:absolute; top:%dpx; left:%dpx; width: %dpx; z-index:%d; }\n", name,
                   static_cast<int>(bounds.top), static_cast<int>(bounds.left),
                   static_cast<int>(bounds.right - bounds.left), object.zIndex);
        } else {
            Append(m_out, "div.%s { position:absolute; top:%dpx; left:%dpx; z-index:%d; }\n", name, object.top,
                   object.left, object.zIndex);
        }
        Append(m_out, "div.%s table { width: auto; }\n", name);
    }

    void WriteContainerOpen()
    {
        m_out += "\n\n<!-- centering -->\n";
        m_out += "<div id=\"container\">\n";
        m_out += "<!-- --------- -->\n\n";
    }

    void WriteContainerClose()
    {
        m_out += "</div>\n";
        m_out += "<!-- --------- -->\n\n";
    }

    void WriteBackground()
    {
        const int width = m_page.GetWidth();
        const int height = m_page.GetHeight();
        if (m_record.fillOutside) {
            Append(m_out, "<table style=\"height:%dpx;\" width=\"%d\" border=0 cellspacing=0 cellpadding=0>\n", height,
                   width);
            m_out += "<tr>\n<td>\n<br>\n</td>\n</tr>\n</table>\n";
            return;
        }
        if (m_page.IsCentered())
            m_out += "<div id=\"background\" style=\"position:relative; top:0px; left:0px; z-index:0;\">\n";
        else
            m_out += "<div id=\"background\" style=\"position:absolute; top:0px; left:0px; z-index:0;\">\n";
        const std::string url = EscapeAttribute(m_record.backgroundUrl);
        switch (m_record.backgroundKind) {
        case 0:
            Append(m_out,
                   "<table style=\"height:%dpx; background-color:#%.2x%.2x%.2x;\" width=\"%d\" border=0 cellspacing=0 "
                   "cellpadding=0>\n",
                   height, Red(m_record.backgroundColor), Green(m_record.backgroundColor),
                   Blue(m_record.backgroundColor), width);
            break;
        case 2:
            Append(m_out,
                   "<table style=\"height:%dpx; background-image: url('%s'); \" width=\"%d\" border=0 cellspacing=0 "
                   "cellpadding=0>\n",
                   height, url.c_str(), width);
            break;
        case 1:
            if (m_record.tiled)
                Append(m_out,
                       "<table style=\"height:%dpx; background-image: url('%s');\" width=\"%d\" border=0 "
                       "cellspacing=0 cellpadding=0>\n",
                       height, url.c_str(), width);
            else
                WritePlacedPicture(height, url, width);
            break;
        // No background kind the image step makes: the table still stands, so the page keeps its height.
        default:
            Append(m_out, "<table style=\"height:%dpx;\" width=\"%d\" border=0 cellspacing=0 cellpadding=0>\n", height,
                   width);
            break;
        }
        m_out += "<tr>\n<td>\n<br>\n</td>\n</tr>\n</table>\n</div>\n";
    }

    // The lines differ in their blanks as well as in the position; browsers ignore the difference, the bytes keep it.
    void WritePlacedPicture(int height, const std::string& url, int width)
    {
        static const char* const kLines[9] = {
            "<table style=\"background-repeat:no-repeat; height:%dpx; background-position:top left; background-image: "
            "url('%s');\" width=\"%d\" border=0 cellspacing=0 cellpadding=0>\n",
            "<table style=\"background-repeat:no-repeat; height:%dpx; background-position:top center; "
            "background-image: url('%s'); \" width=\"%d\" border=0 cellspacing=0 cellpadding=0>\n",
            "<table style=\"background-repeat:no-repeat; height:%dpx; background-position:top right; background-image: "
            "url('%s'); \" width=\"%d\" border=0 cellspacing=0 cellpadding=0>\n",
            "<table style=\"background-repeat:no-repeat; height:%dpx; background-position:center left; "
            "background-image: url('%s'); \" width=\"%d\" border=0 cellspacing=0 cellpadding=0>\n",
            "<table style=\"background-repeat:no-repeat; height:%dpx; background-position:center; background-image: "
            "url('%s'); \" width=\"%d\" border=0 cellspacing=0 cellpadding=0>\n",
            "<table style=\"background-repeat:no-repeat; height:%dpx; background-position:center right; "
            "background-image: url('%s'); \" width=\"%d\" border=0 cellspacing=0 cellpadding=0>\n",
            "<table style=\"background-repeat:no-repeat; height:%dpx; background-position:bottom left; "
            "background-image: url('%s'); \"  width=\"%d\" border=0 cellspacing=0 cellpadding=0>\n",
            "<table style=\"background-repeat:no-repeat; height:%dpx; background-position:bottom center; "
            "background-image: url('%s'); \" width=\"%d\" border=0 cellspacing=0 cellpadding=0>\n",
            "<table style=\"background-repeat:no-repeat; height:%dpx; background-position:bottom right; "
            "background-image: url('%s'); \" width=\"%d\" border=0 cellspacing=0 cellpadding=0>\n",
        };
        const int position = m_record.imagePosition >= 0 && m_record.imagePosition <= 8 ? m_record.imagePosition : 4;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        Append(m_out, kLines[position], height, url.c_str(), width);
#pragma GCC diagnostic pop
    }

    void WriteObjects()
    {
        for (const auto& object : m_record.objects)
            WriteObject(*object);
    }

    void WriteObject(CObjectBuildRecord& object)
    {
        CPageObject* current = ObjectOf(object);
        const int kind = current ? current->GetKind() : -1;
        const char* name = object.className.c_str();
        if (object.asHtmlText && kind == objectText) {
            WriteTextObject(object, *static_cast<CTextObject*>(current)->GetTextBody());
            return;
        }
        if (kind == objectCounter && !m_options.offline) {
            // The live counter is the web server's business; the page only keeps its place.
            Append(m_out, "\n<DIV class=\"%s\">", name);
            m_out += "</div>\n";
            return;
        }
        if (kind == objectHtml) {
            Append(m_out, "\n<div class=\"%s\">", name);
            m_out += static_cast<CHtmlObject*>(current)->GetHtmlCode();
            m_out += "</div>\n";
            return;
        }
        if (kind == objectForm) {
            Append(m_out, "\n<div class=\"%s\">", name);
            m_out += static_cast<CFormObject*>(current)->GetFormHtml();
            m_out += "</div>\n";
            return;
        }

        Append(m_out, "\n<div class=\"%s\">", name);
        const bool anchor = object.hasLink || object.hasMouseOverImage;
        if (anchor)
            m_out += "<a ";
        if (object.hasLink)
            Append(m_out, "%shref=\"%s\" ", TargetAttribute(object.linkTarget).c_str(),
                   EscapeAttribute(object.linkUrl).c_str());
        else if (object.hasMouseOverImage)
            Append(m_out, "href=\"%s\" ", EscapeAttribute(m_record.fileName).c_str());
        std::string nameAttribute;
        if (object.hasMouseOverImage) {
            const int n = m_nMouseOver++;
            Append(m_out, "onMouseOver='img_mo%d.src=\"%s\"' onMouseOut='img_mo%d.src=\"%s\"'", n,
                   Escaped(object.mouseOverUrl, kScriptEntities).c_str(), n,
                   Escaped(object.imageUrl, kScriptEntities).c_str());
            nameAttribute = "name=\"img_mo" + std::to_string(n) + "\"";
        }
        if (anchor)
            m_out += ">";
        const std::string src = EscapeAttribute(object.imageUrl);
        const CStringAttr* altText = current ? current->GetAltText() : nullptr;
        if (!current || !current->CanHaveAltText())
            Append(m_out, "<img style=\"border:none;\" src=\"%s\" %s alt=\"\" width=%d height=%d >", src.c_str(),
                   nameAttribute.c_str(), object.width, object.height);
        else if (!altText || altText->IsEmpty())
            Append(m_out, "<img style=\"border:none;\" src=\"%s\" %s alt=\"\" width=%d height=%d>", src.c_str(),
                   nameAttribute.c_str(), object.width, object.height);
        else {
            const std::string alt = EscapeAttribute(altText->GetString());
            Append(m_out, "<img style=\"border:none;\" src=\"%s\" %s width=%d height=%d alt=\"%s\" title=\"%s\">",
                   src.c_str(), nameAttribute.c_str(), object.width, object.height, alt.c_str(), alt.c_str());
        }
        if (anchor)
            m_out += "</a>";
        m_out += "</div>\n";
    }

    // Repairs the run's URL in place.
    void OpenTextLink(TextLinkRun& run)
    {
        Append(m_out, "<a %shref=\"%s\">", TextLinkTarget(run).c_str(),
               EscapeAttribute(TextLinkHref(m_builder, run, m_page)).c_str());
    }

    void WriteTextObject(CObjectBuildRecord& object, const CTextBody& body)
    {
        std::vector<TextLinkRun>& linkRuns = object.linkRuns;
        const size_t runCount = m_record.textStyleRuns.size();
        const char* align = AlignmentWord(body.m_alignment);
        Append(m_out, "\n<div class=\"%s\">", object.className.c_str());
        m_out += "<table border=0 cellspacing=0 cellpadding=0>";
        m_out += "<tr>";
        Append(m_out, "<td valign=\"top\" align=\"%s\">", align);
        Append(m_out, "<div class=\"text-align:%s;margin-left:0px;text-indent:0px;\">", align);

        bool firstSpan = true;
        bool linkOpen = false;
        size_t k = 0;
        int p = 0;
        for (const CTextParagraph& paragraph : body.m_paragraphs) {
            const int count = paragraph.GetCount();
            for (int i = 0; i < count; ++i, ++p) {
                if (m_nStyleRun < runCount &&
                    (m_record.textStyleRuns[m_nStyleRun].firstChar == p || m_nStyleRun == 0)) {
                    if (!firstSpan) {
                        if (linkOpen)
                            m_out += "</a>";
                        m_out += "</span>";
                    }
                    firstSpan = false;
                    Append(m_out, "<span class=\"textstyle%d\">", m_record.textStyleRuns[m_nStyleRun].style);
                    if (linkOpen)
                        OpenTextLink(linkRuns[k]);
                    ++m_nStyleRun;
                }
                if (k < linkRuns.size()) {
                    if (!linkOpen && linkRuns[k].firstChar == p) {
                        OpenTextLink(linkRuns[k]);
                        linkOpen = true;
                    }
                    if (linkOpen && linkRuns[k].lastChar == p - 1) {
                        m_out += "</a>";
                        linkOpen = false;
                        ++k;
                        if (k < linkRuns.size() && linkRuns[k].firstChar == p) {
                            OpenTextLink(linkRuns[k]);
                            linkOpen = true;
                        }
                    }
                }
                AppendEscaped(m_out, static_cast<char>(paragraph.m_chars[static_cast<size_t>(i)].m_ch), kTextEntities);
                if (paragraph.IsLineEnd(i) && i != count - 1)
                    m_out += "<br>\n";
            }
            m_out += "<br>\n";
        }
        if (linkOpen)
            m_out += "</a>";
        m_out += "</span></div></td></tr></table></div>\n";
    }

    void WriteAnalytics()
    {
        m_out += "\n";
        if (!m_page.GetAnalyticsCode().empty()) {
            m_out += "<!-- Website Analytics Code -->\n";
            m_out += m_page.GetAnalyticsCode();
            m_out += "\n<!-- End Website Analytics Code -->\n\n";
        }
        m_out += "\n</body>\n</html>\n";
    }

    CPageBuildRecord& m_record;
    CSiteBuilder& m_builder;
    const SiteBuildOptions& m_options;
    const CSitePage& m_page;
    std::string m_out;
    // Both count over the page: the mouse-over pictures' names, and the page's style runs, which the HTML texts
    // take in object order.
    int m_nMouseOver = 0;
    size_t m_nStyleRun = 0;
};

} // namespace

std::string TargetAttribute(int target)
{
    switch (target) {
    case 1:
        return "target=\"_self\" ";
    case 2:
        return "target=\"_top\" ";
    case 3:
        return "target=\"_blank\" ";
    case 4:
        return "target=\"_parent\" ";
    default:
        return {};
    }
}

std::string TextLinkTarget(const TextLinkRun& run)
{
    if (!run.link.IsActive() || run.link.GetKind() == CLinkInfo::kindEmail)
        return {};
    return TargetAttribute(run.link.GetTarget());
}

std::string TextLinkHref(const CSiteBuilder& builder, TextLinkRun& run, const CSitePage& page)
{
    switch (run.link.GetKind()) {
    case CLinkInfo::kindPage: {
        const CWebsite* site = page.GetSite();
        const int index = run.link.GetPage();
        if (!site || index < 0 || index >= site->GetPageCount())
            return {};
        const CSitePage* linked = site->GetPage(index);
        return builder.IsHomePage(linked) ? std::string("index.html") : FindPageFileName(builder, linked->GetName());
    }
    case CLinkInfo::kindEmail:
        return "mailto:" + run.link.GetEmail();
    case CLinkInfo::kindUrl: {
        std::string url = run.link.GetUrl();
        FixUrl(url);
        run.link.SetUrl(url);
        return url;
    }
    case CLinkInfo::kindFile: {
        const LinkedFile* file = FindLinkedFile(run.link.GetFile());
        if (!builder.GetOptions().offline)
            return std::string("files") + "/Download/" + (file ? file->targetName : std::string());
        return file ? LocalFileAddress(file->sourcePath) : std::string();
    }
    default:
        return {};
    }
}

bool WritePage(CPageBuildRecord& record, CSiteBuilder& builder, BuildProgress& progress, SiteBuildOptions options)
{
    const std::string path = options.siteFolder + record.fileName;
    if (!record.page) {
        builder.NoteFailure(path + ": no page to write");
        return false;
    }
    progress.SetPageName(record.page->GetName());
    const std::string bytes = ToCrLf(CPageWriter(record, builder, options).Write());
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite, &error)) {
        builder.NoteFailure(path + ": " + Cause(error));
        return false;
    }
    try {
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
    } catch (const CFileException& e) {
        file.Abort();
        builder.NoteFailure(path + ": " + Cause(e));
        return false;
    }
    return true;
}
