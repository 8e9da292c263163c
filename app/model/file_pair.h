#pragma once

// One additional file of a site: a file on the user's disk and the place it takes on the site.

#include <string>

#include "platform/win/win_types.h"

// The lock bits of a remote file or folder; nonzero means the bit is set.
DWORD IsFileLock1(DWORD flags);
DWORD IsFileLock2(DWORD flags);
DWORD IsFileLock4(DWORD flags);
// All three lock bits: the file may be neither moved nor removed by the placement dialogs.
void SetAllFileLocks(DWORD& flags);
void ClearFileLocks(DWORD& flags);

class CFilePair
{
public:
    CFilePair() { ClearFileLocks(m_dwFlags); }
    CFilePair(std::string source, std::string target) : m_strSource(std::move(source)), m_strTarget(std::move(target))
    {
        ClearFileLocks(m_dwFlags);
    }
    CFilePair(const CFilePair&) = default;
    CFilePair& operator=(const CFilePair&) = default;
    virtual ~CFilePair() = default;

    DWORD m_dwFlags;
    // The file on the user's disk.
    std::string m_strSource;
    // Its remote folder path and name on the site.
    std::string m_strTarget;
};
