#pragma once

// The HTML page of a Flash program made by one of the maker's other programs, as the file-placement wizard reads
// it: where the page lies beside the program's XML file, the code cut out of it for an HTML object, and the size
// the code asks for. Headless.

#include <string>
#include <vector>

struct CollectedFiles;
class CSiteFolderModel;

// The code an HTML object takes from the page.
struct FlashCode
{
    std::string text;
    // A block between the BEGIN and TALL markers: it goes into the head of the page, not the object's body.
    bool marker = false;
    // 1 when the code names no size.
    int width = 1;
    int height = 1;
};

enum class FlashPageResult
{
    ok,
    // Neither candidate page can be read.
    noPage,
    // The page holds no object, script or marker block.
    notFlashApplication,
};

// The two places of the program's page: beside the XML file, and in its " files" folder; both named like the XML
// file with "html" for its last three characters.
std::vector<std::string> FlashPageCandidates(const std::string& xmlPath);
// Cuts the page's text to its code; false when nothing is left.
bool CutFlashCode(const std::string& page, FlashCode& code);
// Reads the first candidate that opens and cuts it.
FlashPageResult LoadFlashPage(const std::string& xmlPath, FlashCode& code);
// The texts of the wizard's two errors.
const char* FlashPageError(FlashPageResult result);

// The local files of the set that the site holds at their remote paths once placed: a file whose place the folder
// refused, or that another file holds, is not one the object uses. Each file once.
std::vector<std::string> UsedFlashFiles(const CollectedFiles& set, const CSiteFolderModel& model);
