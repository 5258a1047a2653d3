// PNG writing with libpng (filled in next).
#include "platform/platform.h"
int Platform_Write_PNG(const char*, const uint8_t*, int, int) { return 0; }
