#pragma once

// Which items of a removal dialog's check list the user checked, and which of its buttons that leaves enabled:
// Remove while anything is checked, Check All while something is not, Clear All while something is.

#include <vector>

class CRemovalChecks
{
public:
    explicit CRemovalChecks(int count);

    void CheckAll();
    void ClearAll();
    // The list shows item i checked or not; out of range does nothing.
    void SetCheck(int i, bool checked);

    // One entry per item, 1 for an item to remove.
    const std::vector<int>& GetStates() const { return m_states; }
    int GetCheckedCount() const { return m_checked; }
    bool CanRemove() const { return m_checked > 0; }
    bool CanCheckAll() const { return m_checked != static_cast<int>(m_states.size()); }
    bool CanClearAll() const { return m_checked != 0; }

private:
    std::vector<int> m_states;
    int m_checked = 0;
};
