// Text rasterising with SDL2_ttf and a bold sans-serif face found through fontconfig. Needs no window
// and no SDL video: the headless backend and the art generator call it too.
#include "platform/platform_internal.h"
// (filled in next)
namespace platform_detail {
void Text_Shutdown() {}
}
int Platform_Render_Text(const char*, int, TextMask*) { return 0; }
