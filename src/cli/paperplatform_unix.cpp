#include "paperplatform.h"

#include <QByteArray>
#include <QtGlobal>

namespace PaperPlatform {

void prepare()
{
    // Whatever the session has: a script may run where no display is.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
}

} // namespace PaperPlatform
