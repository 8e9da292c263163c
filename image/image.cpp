#include "image/image.h"
