// The exception messages and the one handler that every escaping exception reaches.
#include "Exceptions.h"

#include <QtGlobal>

namespace {

UnhandledExceptionHandler& InstalledHandler()
{
    static UnhandledExceptionHandler handler;
    return handler;
}

// How deep the handler runs. An error raised while it shows its box (a handler run inside the
// box's loop) reaches it once more, to be logged; one raised from that second run does not.
int handling = 0;

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
    if (!handler || handling > 1) {
        qWarning("Unhandled exception: %s", qUtf8Printable(message));
        return;
    }
    ++handling;
    try {
        handler(message);
    } catch (const std::exception& e) {
        qWarning("Unhandled exception: %s; the handler failed: %s", qUtf8Printable(message),
                 qUtf8Printable(ExceptionMessage(e)));
    } catch (...) {
        qWarning("Unhandled exception: %s; the handler failed", qUtf8Printable(message));
    }
    --handling;
}
