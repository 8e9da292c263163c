#include "platform/gui/xrc_resources.h"

#include "platform/resources/command_names.h"
#include "platform/resources/resource_folder.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/xrc/xmlres.h>

namespace {

// Keeps what wx says about a file it cannot read, which would otherwise reach the user in a message box of wx's own
// beside the program's report of the failure.
class CLoadReasons : public wxLog
{
public:
    CLoadReasons() : m_previous(wxLog::SetActiveTarget(this)) {}
    ~CLoadReasons() override { wxLog::SetActiveTarget(m_previous); }
    CLoadReasons(const CLoadReasons&) = delete;
    CLoadReasons& operator=(const CLoadReasons&) = delete;
    const std::string& First() const { return m_first; }

protected:
    void DoLogRecord(wxLogLevel, const wxString& text, const wxLogRecordInfo&) override
    {
        if (m_first.empty())
            m_first = text.utf8_string();
    }

private:
    wxLog* m_previous;
    std::string m_first;
};

// The menus and toolbars of the templates name their items by command (name="ID_FILE_NEW"); wx learns each name's
// number before it builds an item. A name wx already gave another number would build items no handler knows.
bool TeachCommandNames(std::string* error)
{
    for (const CommandNameEntry& entry : kCommandNames) {
        if (wxXmlResource::DoGetXRCID(entry.name, entry.id) != entry.id) {
            if (error)
                *error = std::string("the command name ") + entry.name + " already stands for another id";
            return false;
        }
    }
    return true;
}

} // namespace

bool LoadXrcResources(std::string* error)
{
    static std::set<std::filesystem::path> loaded;
    static bool handlersReady = false;
    if (!handlersReady) {
        if (!TeachCommandNames(error))
            return false;
        wxXmlResource::Get()->InitAllHandlers();
        handlersReady = true;
    }

    const std::filesystem::path folder = GetResourceFolder();
    std::error_code failure;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure)) {
        if (entry.path().extension() == ".xrc")
            files.push_back(entry.path());
    }
    if (failure) {
        if (error)
            *error = folder.string() + ": " + failure.message();
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& file : files) {
        if (loaded.count(file))
            continue;
        CLoadReasons reasons;
        if (!wxXmlResource::Get()->Load(wxFileName(wxString::FromUTF8(file.string())).GetFullPath())) {
            if (error)
                *error = file.string() + ": not a dialog template file wx can read" +
                         (reasons.First().empty() ? std::string() : " (" + reasons.First() + ")");
            return false;
        }
        loaded.insert(file);
    }
    return true;
}
