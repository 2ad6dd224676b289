#include "TestSupport.h"

#include "AnsiCodec.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>

// Qt's own entry to its shortcut map, exported for its test library's simulated keys.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

namespace TestSupport {

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

void WriteAnsiLines(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) bytes += AnsiCodec::Encode(line) + "\r\n";
    WriteBytes(path, bytes);
}

QStringList ReadAnsiLines(const QString& path)
{
    QStringList lines = AnsiCodec::Decode(ReadBytes(path)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool ShowsWholeText(const QLabel& label)
{
    const int room = label.contentsRect().width() - 2 * label.margin() - qMax(0, label.indent());
    const bool inside = !label.parentWidget() || label.parentWidget()->rect().contains(label.geometry());
    return inside && room >= QFontMetrics(label.font()).horizontalAdvance(label.text());
}

void TypeKey(int key, Qt::KeyboardModifiers mods)
{
    QApplication::processEvents();  // the windows settle before the user types
    QPointer<QWidget> target = QApplication::focusWidget();
    if (!target) target = QApplication::activeWindow();
    if (!target) return;
    if (qt_sendShortcutOverrideEvent(target, 0, key, mods, QString(), false, 1)) return;
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(target, &press);
    if (!target) return;  // the key closed its window
    QKeyEvent release(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(target, &release);
}

QRect ShowOffCentre(QWidget& window)
{
    window.show();
    window.move(0, 0);
    return window.screen()->availableGeometry();
}

}  // namespace TestSupport
