#include "app/dialogs/flash_page.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "app/dialogs/site_folder_model.h"
#include "app/dialogs/xml_file_collection.h"
#include "app/model/site_paths.h"

namespace {

// No program's page comes near it; a larger file is not one.
constexpr std::streamoff kLargestPage = 16 * 1024 * 1024;

bool StartsAt(const std::string& text, size_t at, const char* what)
{
    return text.compare(at, std::char_traits<char>::length(what), what) == 0;
}

// The number in at most four characters from at, up to the first that is not a digit; 1 when at lies outside
// the text or no digit stands there.
int ReadSize(const std::string& text, size_t found, size_t distance)
{
    if (found == std::string::npos || found + distance >= text.size())
        return 1;
    int value = 0, digits = 0;
    for (size_t i = found + distance; i < text.size() && digits < 4; ++i, ++digits) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            break;
        value = value * 10 + (text[i] - '0');
    }
    return digits == 0 ? 1 : value;
}

bool ReadWholeFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kLargestPage)
        return false;
    in.seekg(0);
    text.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

} // namespace

std::vector<std::string> FlashPageCandidates(const std::string& xmlPath)
{
    const std::string folder = GetFolderFromUrlPath(xmlPath);
    const std::string name = GetFileNameFromPath(xmlPath);
    const std::string page = name.substr(0, name.size() >= 3 ? name.size() - 3 : 0) + "html";
    std::string title = name;
    if (const size_t dot = title.rfind('.'); dot != std::string::npos)
        title.erase(dot);
    return {folder + page, folder + title + " files/" + page};
}

bool CutFlashCode(const std::string& page, FlashCode& code)
{
    code = FlashCode();
    size_t start = 0;
    while (start < page.size() && !StartsAt(page, start, "<ob") && !StartsAt(page, start, "<sc") &&
           !StartsAt(page, start, "BEGIN"))
        ++start;
    if (start < page.size() && StartsAt(page, start, "BEGIN")) {
        code.marker = true;
        start += 8;
    }
    size_t end = page.size();
    if (code.marker) {
        const size_t tall = start < page.size() ? page.rfind("TALL") : std::string::npos;
        end = tall == std::string::npos || tall < start + 5 ? start : tall - 5;
    } else {
        while (end > start &&
               !(end - start >= 3 && (page.compare(end - 3, 3, "ct>") == 0 || page.compare(end - 3, 3, "pt>") == 0)))
            --end;
    }
    if (start >= page.size() || end <= start)
        return false;
    code.text = page.substr(start, end - start);
    const std::string& text = code.text;
    if (code.marker)
        return true;
    const bool object = StartsAt(text, 0, "<ob");
    const bool script = StartsAt(text, 0, "<sc");
    if (object || (script && text.find("embed") != std::string::npos)) {
        code.width = ReadSize(text, text.find("width"), 7);
        code.height = ReadSize(text, text.find("height"), 8);
    } else if (script && text.find(".xml") != std::string::npos) {
        code.width = ReadSize(text, text.find(".xml"), 8);
        code.height = ReadSize(text, text.find(".xml"), 15);
    } else if (script) {
        code.width = ReadSize(text, text.find(".swf"), 11);
        code.height = ReadSize(text, text.find(".swf"), 18);
    }
    return true;
}

FlashPageResult LoadFlashPage(const std::string& xmlPath, FlashCode& code)
{
    std::string page;
    bool read = false;
    for (const std::string& candidate : FlashPageCandidates(xmlPath))
        if ((read = ReadWholeFile(candidate, page)))
            break;
    if (!read)
        return FlashPageResult::noPage;
    return CutFlashCode(page, code) ? FlashPageResult::ok : FlashPageResult::notFlashApplication;
}

const char* FlashPageError(FlashPageResult result)
{
    return result == FlashPageResult::noPage ? "Error: HTML File not present in the directory or wrong XML File"
                                             : "Error: The XML File loaded isnt a Tallowmere Flash Application";
}

std::vector<std::string> UsedFlashFiles(const CollectedFiles& set, const CSiteFolderModel& model)
{
    std::vector<std::string> used;
    for (size_t i = 0; i < set.locals.size() && i < set.remotes.size(); ++i) {
        const CSiteFile* file = model.FindFileByRemotePath(set.remotes[i]);
        if (file && file->GetLocalPath() == set.locals[i] &&
            std::find(used.begin(), used.end(), set.locals[i]) == used.end())
            used.push_back(set.locals[i]);
    }
    return used;
}
