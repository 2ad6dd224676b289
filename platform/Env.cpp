// The process's surroundings: user and computer names, directories, memory, the desktop.
#include "Env.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Env {

namespace {

// A name longer than the original platform's 256-byte buffer counted as unreadable there.
constexpr int NameBufferSize = 256;

QString FromBuffer(const char* text)
{
    const QString name = QString::fromLocal8Bit(text);
    return qstrlen(text) >= NameBufferSize ? QString() : name;
}

// "MemTotal:", "MemAvailable:" ... of /proc/meminfo in bytes, 0 when missing.
quint64 MemInfo(const char* field)
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return 0;
    const QByteArray key(field);
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.startsWith(key)) continue;
        const QList<QByteArray> parts = line.mid(key.size()).simplified().split(' ');
        bool ok = false;
        const quint64 value = parts.value(0).toULongLong(&ok);
        if (!ok) return 0;
        return parts.value(1) == "kB" ? value * 1024 : value;
    }
    return 0;
}

}  // namespace

QString UserName()
{
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name) return FromBuffer(pw->pw_name);
    for (const char* var : {"USER", "LOGNAME"}) {
        const QByteArray value = qgetenv(var);
        if (!value.isEmpty()) return FromBuffer(value.constData());
    }
    return QString();
}

QString ComputerName()
{
    char buf[NameBufferSize + 1] = {};
    if (gethostname(buf, NameBufferSize) != 0) return QString();
    buf[NameBufferSize] = '\0';
    return FromBuffer(buf);
}

QString ProgramDir()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

QString HandOffDir()
{
    const QString temp = qEnvironmentVariable("TEMP");
    if (!temp.isEmpty()) return temp;

    // Others must not read or plant the hand-off files: the directory is the user's alone.
    const QByteArray path = QStringLiteral("/tmp/kestrova-%1").arg(getuid()).toLocal8Bit();
    if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return QString();
    struct stat st {};
    if (lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) return QString();
    if ((st.st_mode & 0777) != 0700 && chmod(path.constData(), 0700) != 0) return QString();
    return QString::fromLocal8Bit(path);
}

quint64 FreeMemory()
{
    const quint64 available = MemInfo("MemAvailable:");
    return available ? available : MemInfo("MemFree:");
}

quint64 TotalMemory()
{
    return MemInfo("MemTotal:");
}

bool OpenWithDesktop(const QString& fileOrUrl)
{
    const QUrl asUrl(fileOrUrl, QUrl::StrictMode);
    // A scheme of more than one letter names a URL ("http:", "mailto:"); anything else is a file.
    if (asUrl.isValid() && asUrl.scheme().size() > 1 && asUrl.scheme() != QLatin1String("file"))
        return QDesktopServices::openUrl(asUrl);
    const QString path = asUrl.scheme() == QLatin1String("file") ? asUrl.toLocalFile() : fileOrUrl;
    const QFileInfo info(QDir::current(), path);
    if (!info.exists()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

bool StartCalculator()
{
    for (const char* program : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"}) {
        const QString name = QString::fromLatin1(program);
        if (QStandardPaths::findExecutable(name).isEmpty()) continue;
        if (QProcess::startDetached(name, {})) return true;
    }
    return false;
}

}  // namespace Env
