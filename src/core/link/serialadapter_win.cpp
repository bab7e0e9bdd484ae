#include "link/serialadapter.h"

QString latencyTimerInstructions(const QString &device)
{
    return QStringLiteral("в диспетчере устройств откройте свойства порта %1, вкладку «Параметры порта», "
                          "кнопку «Дополнительно» и выберите 1 в поле «Время ожидания (мс)» "
                          "(Latency Timer), затем отключите и снова подключите адаптер.")
        .arg(device);
}
