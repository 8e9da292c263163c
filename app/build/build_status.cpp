#include "app/build/build_status.h"

#include <algorithm>

void CBuildStatus::StepIt()
{
    SetPos(m_pos > kBuildProgressEnd - m_step ? kBuildProgressEnd : m_pos + m_step);
}

void CBuildStatus::SetPos(int pos)
{
    m_pos = std::clamp(pos, 0, kBuildProgressEnd);
}

bool CBuildStatus::IsCancelRequested()
{
    Refresh();
    return m_bCancelled;
}

int CBuildStatus::GetPercent() const
{
    return static_cast<int>(static_cast<long long>(m_pos) * 100 / kBuildProgressEnd);
}
