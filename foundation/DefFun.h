// Common routines: the field splitter, the event log, temporary files and printer paper.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <cstring>

// The one field splitter, over a line of characters or of Windows-1251 bytes (one byte per
// character, so positions agree): walks the fields of a line in order, giving where each lies
// after trimming codes <= 32 and cutting to 256 characters. GetFieldNo and the readers use it.
template <class Ch>
class FieldCursor {
public:
    // hasDelimiter false: the setting is not one character, so no character splits the line.
    FieldCursor(const Ch* line, qsizetype size, Ch delimiter, bool hasDelimiter)
        : line_(line), size_(size), delimiter_(delimiter), hasDelimiter_(hasDelimiter) {}

    // The next field's bounds in the line; a field the line does not have is empty.
    void Next(qsizetype& start, qsizetype& length)
    {
        if (pos_ > size_) {
            start = size_;
            length = 0;
            return;
        }
        qsizetype stop = hasDelimiter_ ? Find(pos_) : size_;
        qsizetype begin = pos_;
        pos_ = stop + 1;  // past the delimiter; beyond the end when there was none
        while (begin < stop && Code(line_[begin]) <= 32) ++begin;
        while (stop > begin && Code(line_[stop - 1]) <= 32) --stop;
        start = begin;
        length = stop - begin < 256 ? stop - begin : 256;
    }
    void Skip(int fields)
    {
        for (int i = 0; i < fields && pos_ <= size_; ++i) pos_ = (hasDelimiter_ ? Find(pos_) : size_) + 1;
    }

private:
    static unsigned Code(char c) { return static_cast<unsigned char>(c); }
    static unsigned Code(char16_t c) { return c; }
    qsizetype Find(qsizetype from) const
    {
        if constexpr (sizeof(Ch) == 1) {
            // Fields are short: a plain scan beats a library call per field.
            qsizetype i = from;
            while (i < size_ && line_[i] != delimiter_) ++i;
            return i;
        } else {
            qsizetype i = QStringView(line_ + from, size_ - from).indexOf(QChar(delimiter_));
            return i < 0 ? size_ : from + i;
        }
    }

    const Ch* line_;
    qsizetype size_;
    Ch delimiter_;
    bool hasDelimiter_;
    qsizetype pos_ = 0;
};

// The FieldNo-th field (from 1) of Line split at the one-character AppConfig->Delimiter,
// stripped of leading and trailing characters with codes <= 32, cut to 256 characters.
void GetFieldNo(int FieldNo, QStringView Line, QString& Field);
QString GetFieldNo(int FieldNo, QStringView Line);
// The same with an explicit delimiter (the readers pass it once per file).
QString GetFieldNo(int FieldNo, QStringView Line, QStringView Delimiter);

// Appends one line to AppDir + "tvk.log"; throws EInOutError when the file cannot be written.
void WriteLog(const QString& Msg);
// An error an operation caught itself: prefix + message to the log (a log that cannot be
// written does not keep the box from the user), then an error box with the sentence, a line
// break and the message.
void ReportError(const QString& sentence, const QString& message, const QString& prefix = QStringLiteral("ОШИБКА! "));
// "н.д." when the name cannot be read.
QString GetUserNameStr();
QString GetComputerNameStr();

// Write true: writes Lines (CR LF after each) to FileName in the hand-off directory, throwing
// EInOutError on failure. Write false: deletes that file, silently.
void WriteTempFile(bool Write, const QString& FileName, const QStringList& Lines);
// Writes bytes as FileName in the hand-off directory, a new file of this user's: a stale entry of
// that name is removed first and the file is created exclusively without following a link,
// so a link planted there never redirects the write. EInOutError on failure.
void WriteTempBytes(const QString& FileName, const QByteArray& Bytes);
// The full path of a file in the hand-off directory; EInOutError when there is none.
QString TempFilePath(const QString& FileName);

// The current printer's orientation and Windows paper code; 1 and 9 when it gives none.
void GetPrinterPaper(int16_t& Orientation, int16_t& PaperSize);
