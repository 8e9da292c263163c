#include "app/publish/upload_progress.h"

#include <climits>

#include "platform/ftp/ftp.h"

CUploadProgress::CUploadProgress(int total)
{
    SetRange(total);
}

void CUploadProgress::SetRange(int total)
{
    m_range = total > 0 ? total : 0;
    m_nPosition = 0;
}

bool CUploadProgress::StepProgress(int bytes)
{
    if (bytes > 0)
        m_nPosition = bytes > INT_MAX - m_nPosition ? INT_MAX : m_nPosition + bytes;
    return !m_bCancelled;
}

int CUploadProgress::GetBarPosition() const
{
    return m_nPosition < m_range ? m_nPosition : m_range;
}

void CUploadProgress::Cancel(CFtp* connection)
{
    m_bCancelled = true;
    if (connection)
        connection->DisconnectOnly();
}
