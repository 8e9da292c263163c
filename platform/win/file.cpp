#include "platform/win/file.h"
