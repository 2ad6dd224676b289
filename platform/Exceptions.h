// The class library's exception family, and the guard that hands escaping exceptions to one handler.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>
#include <functional>

class Exception : public std::exception {
public:
    explicit Exception(const QString& message) : Message(message), utf8_(message.toUtf8()) {}
    ~Exception() override = default;
    const char* what() const noexcept override { return utf8_.constData(); }
    QString ClassName() const { return className_; }

    QString Message;

protected:
    Exception(const QString& message, const char* className)
        : Message(message), utf8_(message.toUtf8()), className_(QString::fromLatin1(className)) {}

private:
    QByteArray utf8_;
    QString className_ = QStringLiteral("Exception");
};

// Conversion of text to numbers, dates and times.
class EConvertError : public Exception {
public:
    explicit EConvertError(const QString& message) : Exception(message, "EConvertError") {}
};

// File input and output.
class EInOutError : public Exception {
public:
    explicit EInOutError(const QString& message) : Exception(message, "EInOutError") {}
};

// "List index out of bounds (%d)".
class EListError : public Exception {
public:
    explicit EListError(const QString& message) : Exception(message, "EListError") {}
    static EListError OutOfBounds(int index)
    {
        return EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    }
};

// "Invalid class typecast".
class EInvalidCast : public Exception {
public:
    EInvalidCast() : Exception(QStringLiteral("Invalid class typecast"), "EInvalidCast") {}
};

// The printer object's errors.
class EPrinter : public Exception {
public:
    explicit EPrinter(const QString& message) : Exception(message, "EPrinter") {}
};

// The message of any exception, ours or the standard library's.
QString ExceptionMessage(const std::exception& e);

// The application's handler of unhandled exceptions (the main window installs its LogException).
// Without one, the message goes to qWarning.
using UnhandledExceptionHandler = std::function<void(const QString& message)>;
void SetUnhandledExceptionHandler(UnhandledExceptionHandler handler);
void HandleUnhandledException(const QString& message);

// Runs f; an exception escaping it goes to the unhandled-exception handler.
// Every slot and event handler of the program runs inside this guard.
template <class F>
void Guarded(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        HandleUnhandledException(ExceptionMessage(e));
    } catch (...) {
        HandleUnhandledException(QStringLiteral("Unknown exception"));
    }
}
