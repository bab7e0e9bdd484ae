#pragma once

#include "common/platformerror.h"
#include "services/uiservices.h"

#include <exception>
#include <utility>

// Runs one window handler; a platform failure ends it and its own text is
// shown in a message box. This is the program's one general error handler.
template <class Handler>
void guarded(UiServices &ui, Handler &&handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const PlatformError &error) {
        ui.showMessage(error.text());
    } catch (const std::exception &error) {
        ui.showMessage(QString::fromLocal8Bit(error.what()));
    }
}
