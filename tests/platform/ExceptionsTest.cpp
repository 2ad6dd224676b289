// The unhandled-exception guard: messages reach the handler, and a failing handler does not loop.
#include "Exceptions.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <stdexcept>

// Each test leaves no handler behind.
class ExceptionsTest : public ::testing::Test {
protected:
    void TearDown() override { SetUnhandledExceptionHandler({}); }
};

TEST_F(ExceptionsTest, GuardHandsMessagesToTheHandler)
{
    QStringList seen;
    SetUnhandledExceptionHandler([&](const QString& m) { seen << m; });
    Guarded([] { throw EConvertError(QStringLiteral("'x' is not a valid integer value")); });
    Guarded([] { throw std::runtime_error("plain"); });
    Guarded([] { throw 42; });
    Guarded([] { throw EListError::OutOfBounds(5); });
    Guarded([] { throw EInvalidCast(); });
    EXPECT_EQ(seen, QStringList({QStringLiteral("'x' is not a valid integer value"), QStringLiteral("plain"),
                                 QStringLiteral("Unknown exception"), QStringLiteral("List index out of bounds (5)"),
                                 QStringLiteral("Invalid class typecast")}));
    EXPECT_EQ(EConvertError(QStringLiteral("m")).ClassName(), QStringLiteral("EConvertError"));
}

TEST_F(ExceptionsTest, FailingHandlerNeitherRecursesNorEscapes)
{
    int calls = 0;
    SetUnhandledExceptionHandler([&](const QString&) {
        ++calls;
        // The handler's own logging fails and is itself guarded: it comes back here once (an
        // error raised while the handler shows its box is still logged), never again from there.
        Guarded([] { throw EInOutError(QStringLiteral("disk full")); });
        throw EInOutError(QStringLiteral("disk full"));
    });
    EXPECT_NO_THROW(Guarded([] { throw Exception(QStringLiteral("first")); }));
    EXPECT_EQ(calls, 2);
    // The handler is still usable afterwards.
    EXPECT_NO_THROW(Guarded([] { throw Exception(QStringLiteral("second")); }));
    EXPECT_EQ(calls, 4);
}
