#include "app/model/file_pair.h"

void SetAllFileLocks(DWORD& flags)
{
    flags = 7;
}

void ClearFileLocks(DWORD& flags)
{
    flags = 0;
}
