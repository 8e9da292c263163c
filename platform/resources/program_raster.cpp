#include "platform/resources/program_raster.h"

#include <cstring>

void FillBytes(unsigned char* destination, unsigned char value, size_t count)
{
    // The obvious form, which memset does word by word:
    //     for (size_t i = 0; i < count; ++i) destination[i] = value;
    if (count > 0)
        std::memset(destination, value, count);
}
