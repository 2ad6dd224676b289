// What the fuzz harnesses share: a scratch directory with the settings of a run pointed at it,
// dialogs that answer without showing anything, and a check that aborts with its reason.
#pragma once

#include "AppConfig.h"
#include "Dialogs.h"
#include "Regional.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace Fuzz {

// A broken promise: the input that shows it is kept by the fuzzer (or named by the replay).
#define FUZZ_CHECK(condition)                                                                       \
    do {                                                                                            \
        if (!(condition)) {                                                                         \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);      \
            std::abort();                                                                           \
        }                                                                                           \
    } while (0)

// Boxes are answered at once and forgotten, so a long campaign holds no growing record.
class QuietDialogs : public Dialogs::Handler {
public:
    bool MessageBox(Dialogs::Box kind, const QString&, const QString&) override { return kind == Dialogs::Box::Confirmation; }
    Dialogs::Answer Ask(const QString&, const QString&) override { return Dialogs::Answer::Cancel; }
    QString OpenFile(const Dialogs::FileRequest&) override { return QString(); }
    QString SaveFile(const Dialogs::FileRequest&) override { return QString(); }
    bool ChooseColor(quint32&) override { return false; }
    bool Print(Dialogs::PrintRequest&) override { return false; }
    bool PrinterSetup(Dialogs::PrinterSetupRequest&) override { return false; }
};

// The scratch directory, made once per process: program directory, database and TEMP.
inline const QString& Dir()
{
    static const QString dir = [] {
        // Under the directory fuzz.sh gives (it removes it: libFuzzer ends without destructors),
        // else in memory where the system has it, as every save is synced to disk.
        const QString base = qEnvironmentVariable("KESTROVA_FUZZ_DIR",
                                                  QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath());
        static QTemporaryDir temp(base + QStringLiteral("/kestrova-fuzz-XXXXXX"));
        temp.setAutoRemove(true);
        qputenv("TEMP", QFile::encodeName(temp.path()));
        static QuietDialogs dialogs;
        Dialogs::SetHandler(&dialogs);
        TAppConfig& c = EnsureAppConfig();
        c.AppDir = temp.path() + QLatin1Char('/');
        c.DBPath = temp.path();
        c.Delimiter = QStringLiteral(";");
        c.CommentChar = QStringLiteral("#");
        return temp.path();
    }();
    return dir;
}

// Puts the input into a file of the scratch directory and returns its path; the log of the
// previous run goes, so a campaign does not fill the disk.
inline QString Put(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = Dir() + QLatin1Char('/') + name;
    QFile::remove(Dir() + QStringLiteral("/tvk.log"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

inline QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace Fuzz
