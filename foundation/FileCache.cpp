// File stamps and the cached measurements index.
#include "FileCache.h"

#include "AppConfig.h"
#include "Exceptions.h"
#include "Regional.h"

#include <QFile>

#include <sys/stat.h>

TFileStamp TFileStamp::Of(const QString& path)
{
    TFileStamp s;
    struct stat st {};
    const QByteArray local = QFile::encodeName(path);
    if (::stat(local.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return s;
    s.Exists = true;
    s.Device = quint64(st.st_dev);
    s.Inode = quint64(st.st_ino);
    s.Size = qint64(st.st_size);
    s.Modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.Changed = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return s;
}

bool TMeasurementCache::Refresh(const QString& path)
{
    const TAppConfig& config = EnsureAppConfig();
    Key key{path, TFileStamp::Of(path), config.Delimiter, config.CommentChar, Regional::Current().DecimalSeparator};
    if (!key.Stamp.Exists || !DataFiles::DelimiterUsable()) {
        valid_ = false;
        index_ = DataFiles::MeasurementIndex();
        return false;
    }
    if (valid_ && key == key_) return true;
    valid_ = false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw EInOutError(f.errorString());
    // Into the last buffer: its memory is in place already.
    QByteArray bytes = index_.ReleaseBytes();
    bytes.resize(qMax<qint64>(0, key.Stamp.Size));
    const qint64 got = bytes.isEmpty() ? 0 : f.read(bytes.data(), bytes.size());
    if (got < 0) throw EInOutError(f.errorString());
    bytes.resize(got);
    bytes += f.readAll();  // what was added since the stamp
    if (f.error() != QFileDevice::NoError) throw EInOutError(f.errorString());
    index_.Build(std::move(bytes));
    // The stamp from before the read: a change while reading is seen next time.
    key_ = key;
    valid_ = true;
    return true;
}
