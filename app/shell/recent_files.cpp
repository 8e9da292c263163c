#include "app/shell/recent_files.h"

#include "app/shell/command_ids.h"
#include "platform/gui/text_bytes.h"
#include "platform/win/key_store.h"

#include <wx/menu.h>

void CRecentFiles::Load(CKeyStore& store)
{
    for (int i = 4; i >= 1; --i) {
        const std::string file = store.GetProfileString(kRecentFilesSection, "File" + std::to_string(i));
        if (!file.empty())
            m_history.AddFileToHistory(PathToWx(file));
    }
}

void CRecentFiles::Save(CKeyStore& store) const
{
    store.DeleteTree(kRecentFilesSection);
    const std::vector<std::string> recent = Get();
    for (size_t i = 0; i < recent.size(); ++i)
        store.WriteProfileString(kRecentFilesSection, "File" + std::to_string(i + 1), recent[i]);
}

void CRecentFiles::Add(const std::string& path)
{
    m_history.AddFileToHistory(PathToWx(path));
    Show();
}

void CRecentFiles::Remove(size_t position)
{
    if (position >= m_history.GetCount())
        return;
    m_history.RemoveFileFromHistory(position);
    Show();
}

std::vector<std::string> CRecentFiles::Get() const
{
    std::vector<std::string> files;
    for (size_t i = 0; i < m_history.GetCount(); ++i)
        files.push_back(PathFromWx(m_history.GetHistoryFile(i)));
    return files;
}

std::string CRecentFiles::At(size_t position) const
{
    return position < m_history.GetCount() ? PathFromWx(m_history.GetHistoryFile(position)) : std::string();
}

void CRecentFiles::ShowIn(wxMenuBar* menus)
{
    m_menus = menus;
    m_separator = nullptr;
    Show();
}

// The recent files stand above Exit in the File menu, newest first, each with its full path and its number as
// mnemonic (wx's own history menu would append them below Exit).
void CRecentFiles::Show()
{
    wxMenu* file = m_menus ? m_menus->GetMenu(0) : nullptr;
    if (!file)
        return;
    for (int id = wxID_FILE1; id <= wxID_FILE9; ++id)
        if (wxMenuItem* item = file->FindChildItem(id))
            file->Destroy(item);
    if (m_separator) {
        file->Destroy(m_separator);
        m_separator = nullptr;
    }
    size_t at = 0;
    if (!file->FindChildItem(ID_APP_EXIT, &at))
        at = file->GetMenuItemCount();
    const size_t count = m_history.GetCount();
    for (size_t i = 0; i < count; ++i) {
        wxString label = m_history.GetHistoryFile(i);
        label.Replace("&", "&&");
        file->Insert(at + i, wxID_FILE1 + static_cast<int>(i), wxString::Format("&%zu %s", i + 1, label));
    }
    if (count > 0)
        m_separator = file->InsertSeparator(at + count);
}
