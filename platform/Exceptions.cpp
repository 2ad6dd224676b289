// The exception messages and the one handler that every escaping exception reaches.
#include "Exceptions.h"

#include <QtGlobal>

namespace {

UnhandledExceptionHandler& InstalledHandler()
{
    static UnhandledExceptionHandler handler;
    return handler;
}

// True while the handler runs: an exception raised from inside it must not come back to it.
bool handling = false;

}  // namespace

QString ExceptionMessage(const std::exception& e)
{
    if (auto own = dynamic_cast<const Exception*>(&e)) return own->Message;
    return QString::fromLocal8Bit(e.what());
}

void SetUnhandledExceptionHandler(UnhandledExceptionHandler handler)
{
    InstalledHandler() = std::move(handler);
}

void HandleUnhandledException(const QString& message)
{
    const UnhandledExceptionHandler& handler = InstalledHandler();
    if (!handler || handling) {
        qWarning("Unhandled exception: %s", qUtf8Printable(message));
        return;
    }
    handling = true;
    try {
        handler(message);
    } catch (const std::exception& e) {
        qWarning("Unhandled exception: %s; the handler failed: %s", qUtf8Printable(message),
                 qUtf8Printable(ExceptionMessage(e)));
    } catch (...) {
        qWarning("Unhandled exception: %s; the handler failed", qUtf8Printable(message));
    }
    handling = false;
}
