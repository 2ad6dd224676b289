// Common routines: the field splitter, the event log, temporary files and printer paper.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>

// The FieldNo-th field (from 1) of Line split at the one-character AppConfig->Delimiter,
// stripped of leading and trailing characters with codes <= 32, cut to 256 characters.
void GetFieldNo(int FieldNo, QStringView Line, QString& Field);
QString GetFieldNo(int FieldNo, QStringView Line);
// The same with an explicit delimiter (the readers pass it once per file).
QString GetFieldNo(int FieldNo, QStringView Line, QStringView Delimiter);

// Appends one line to AppDir + "tvk.log"; throws EInOutError when the file cannot be written.
void WriteLog(const QString& Msg);
// "н.д." when the name cannot be read.
QString GetUserNameStr();
QString GetComputerNameStr();

// Write true: writes Lines (CR LF after each) to FileName in the hand-off directory, throwing
// EInOutError on failure. Write false: deletes that file, silently.
void WriteTempFile(bool Write, const QString& FileName, const QStringList& Lines);
// The full path of a file in the hand-off directory.
QString TempFilePath(const QString& FileName);

// The current printer's orientation and Windows paper code; 1 and 9 when it gives none.
void GetPrinterPaper(int16_t& Orientation, int16_t& PaperSize);
