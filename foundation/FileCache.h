// Knowing, without reading a file, whether it changed since it was last read; and the
// measurements file kept read between the map's commands on that ground.
#pragma once

#include "DataFiles.h"

#include <QString>

// What tells one version of a file from another: device, inode, size, and the modification and
// status-change times to the nanosecond. A file replaced by a rename gets a new inode; one
// rewritten in place a new time, whatever its size.
struct TFileStamp {
    bool Exists = false;  // a regular file
    quint64 Device = 0;
    quint64 Inode = 0;
    qint64 Size = 0;
    qint64 Modified = 0;  // nanoseconds
    qint64 Changed = 0;

    // One stat of the path (symlinks followed).
    static TFileStamp Of(const QString& path);
    bool operator==(const TFileStamp&) const = default;
};

// The measurements index of one file, built again only when the file's stamp or a setting the
// reading depends on (delimiter, comment character, decimal separator) changed.
class TMeasurementCache {
public:
    // False, with nothing kept, when the file does not exist or the delimiter is unusable.
    // EInOutError when the file is there but cannot be read.
    bool Refresh(const QString& path);
    // Valid after Refresh returned true.
    DataFiles::MeasurementIndex& Index() { return index_; }

private:
    struct Key {
        QString Path;
        TFileStamp Stamp;
        QString Delimiter;
        QString Comment;
        QChar Decimal;
        bool operator==(const Key&) const = default;
    };
    bool valid_ = false;
    Key key_;
    DataFiles::MeasurementIndex index_;
};
