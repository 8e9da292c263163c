#include "app/model/file_pair.h"

void SetAllFileLocks(DWORD& flags)
{
    flags = 7;
}

void ClearFileLocks(DWORD& flags)
{
    flags = 0;
}

DWORD IsFileLock1(DWORD flags)
{
    return flags & 1;
}

DWORD IsFileLock2(DWORD flags)
{
    return flags & 2;
}

DWORD IsFileLock4(DWORD flags)
{
    return flags & 4;
}
