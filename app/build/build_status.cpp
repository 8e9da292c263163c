#include "app/build/build_status.h"

#include <algorithm>

void CBuildStatus::StepIt()
{
    SetPos(m_nPos > kBuildProgressEnd - m_nStep ? kBuildProgressEnd : m_nPos + m_nStep);
}

void CBuildStatus::SetPos(int pos)
{
    m_nPos = std::clamp(pos, 0, kBuildProgressEnd);
}

bool CBuildStatus::IsCancelRequested()
{
    Refresh();
    return m_bCancelled;
}

int CBuildStatus::GetPercent() const
{
    return static_cast<int>(static_cast<long long>(m_nPos) * 100 / kBuildProgressEnd);
}
