#include "paperplatform.h"

namespace PaperPlatform {

void prepare()
{
    // Windows' own platform needs no display and is the one shipped.
}

} // namespace PaperPlatform
