// Small helpers the test folders share: temporary folders, Windows-1251 files, labels.
#pragma once

#include <Qt>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QLabel;
class QWidget;
#include <QRect>

namespace TestSupport {

// Reads a whole file's bytes (empty when missing).
QByteArray ReadBytes(const QString& path);
// Writes bytes as they are.
void WriteBytes(const QString& path, const QByteArray& bytes);
// Writes lines in Windows-1251, each followed by CR LF.
void WriteAnsiLines(const QString& path, const QStringList& lines);
// Decodes a Windows-1251 file and splits it at CR LF (the last empty piece dropped).
QStringList ReadAnsiLines(const QString& path);

// True when the label, as laid out, has room for its whole text in its own font (inside its
// margins and within its parent), so nothing of it is cut off.
bool ShowsWholeText(const QLabel& label);

// A key typed by the user: it goes where the keyboard focus is (the active window when no widget
// has it), through the shortcuts first, as the platform delivers keys.
void TypeKey(int key, Qt::KeyboardModifiers mods = Qt::NoModifier);

// Shows the window in the top left corner, away from the screen's centre, so a dialog centred on
// the screen and one centred over the window stand apart; the screen's available area.
QRect ShowOffCentre(QWidget& window);

}  // namespace TestSupport
