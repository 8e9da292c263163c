#include "app/docview/removal_checks.h"

#include <algorithm>

CRemovalChecks::CRemovalChecks(int count) : m_states(static_cast<size_t>(std::max(0, count)), 0) {}

void CRemovalChecks::CheckAll()
{
    std::fill(m_states.begin(), m_states.end(), 1);
    m_checked = static_cast<int>(m_states.size());
}

void CRemovalChecks::ClearAll()
{
    std::fill(m_states.begin(), m_states.end(), 0);
    m_checked = 0;
}

void CRemovalChecks::SetCheck(int i, bool checked)
{
    if (i < 0 || i >= static_cast<int>(m_states.size()) || (m_states[i] == 1) == checked)
        return;
    m_states[i] = checked ? 1 : 0;
    m_checked += checked ? 1 : -1;
}
