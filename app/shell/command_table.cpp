#include "app/shell/command_table.h"

#include <wx/event.h>

void CCommandTable::Add(int id, RunFunction run, UpdateFunction update)
{
    Add(id, id, std::move(run), std::move(update));
}

void CCommandTable::Add(int first, int last, RunFunction run, UpdateFunction update)
{
    m_entries.push_back({first, last, std::move(run), std::move(update)});
}

const CCommandTable::Entry* CCommandTable::Find(int id) const
{
    for (const Entry& entry : m_entries)
        if (id >= entry.first && id <= entry.last)
            return &entry;
    return nullptr;
}

bool CCommandTable::Run(int id) const
{
    const Entry* entry = Find(id);
    if (!entry)
        return false;
    entry->run(id);
    return true;
}

bool CCommandTable::Update(wxUpdateUIEvent& event) const
{
    const Entry* entry = Find(event.GetId());
    if (!entry)
        return false;
    entry->update(event);
    return true;
}

CCommandTable::UpdateFunction EnableWhen(std::function<bool()> enabled)
{
    return [enabled = std::move(enabled)](wxUpdateUIEvent& event) { event.Enable(enabled()); };
}

CCommandTable::UpdateFunction AlwaysEnabled()
{
    return [](wxUpdateUIEvent& event) { event.Enable(true); };
}
