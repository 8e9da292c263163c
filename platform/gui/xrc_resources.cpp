#include "platform/gui/xrc_resources.h"

#include "platform/resources/command_names.h"
#include "platform/resources/resource_folder.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <set>
#include <thread>
#include <vector>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/xml/xml.h>
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

// Parsing is most of what loading the files costs at start, and each file parses alone: they are parsed on a few
// threads, each with logging off (a failure is loaded again below, which gives wx's reason). Null for a file that
// does not parse.
std::vector<std::unique_ptr<wxXmlDocument>> ParseFiles(const std::vector<std::filesystem::path>& files)
{
    std::vector<std::unique_ptr<wxXmlDocument>> documents(files.size());
    std::atomic<size_t> next{0};
    const auto parse = [&] {
        const wxLogNull quiet;
        for (size_t i = next++; i < files.size(); i = next++) {
            auto document = std::make_unique<wxXmlDocument>();
            if (document->Load(wxString::FromUTF8(files[i].string())) && document->GetRoot())
                documents[i] = std::move(document);
        }
    };
    const size_t threads = std::min<size_t>({files.size(), std::max(1u, std::thread::hardware_concurrency()), 4});
    std::vector<std::thread> workers;
    for (size_t i = 1; i < threads; ++i)
        workers.emplace_back(parse);
    parse();
    for (std::thread& worker : workers)
        worker.join();
    return documents;
}

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
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const std::filesystem::path& file) { return loaded.count(file) != 0; }),
                files.end());
    std::vector<std::unique_ptr<wxXmlDocument>> documents = ParseFiles(files);
    for (size_t i = 0; i < files.size(); ++i) {
        const std::filesystem::path& file = files[i];
        CLoadReasons reasons;
        const wxString path = wxFileName(wxString::FromUTF8(file.string())).GetFullPath();
        if (documents[i] && wxXmlResource::Get()->LoadDocument(documents[i].release(), path)) {
            loaded.insert(file);
            continue;
        }
        if (!wxXmlResource::Get()->Load(path)) {
            if (error)
                *error = file.string() + ": not a dialog template file wx can read" +
                         (reasons.First().empty() ? std::string() : " (" + reasons.First() + ")");
            return false;
        }
        loaded.insert(file);
    }
    return true;
}
