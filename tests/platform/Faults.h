// Fault helpers of the tests: the message a call fails with, a file-size limit reached
// mid-write, and a read-only directory.
#pragma once

#include "Exceptions.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

// The message of the E that f throws, or "<no error>".
template <class E = Exception, class F>
QString MessageOf(F&& f)
{
    try {
        f();
    } catch (const E& e) {
        return e.Message;
    }
    return QStringLiteral("<no error>");
}

// Runs f while files may grow to at most `bytes`; SIGXFSZ is ignored so the write fails instead.
template <class F>
QString MessageUnderFileSizeLimit(rlim_t bytes, F&& f)
{
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{bytes, old.rlim_max};
    const QString message = setrlimit(RLIMIT_FSIZE, &small) == 0 ? MessageOf(f) : QStringLiteral("<no limit>");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return message;
}

// Runs f while the process may map at most `bytes` more than it has now, so a large allocation
// fails instead of succeeding lazily.
template <class F>
QString MessageUnderAddressSpaceLimit(rlim_t bytes, F&& f)
{
    QFile status(QStringLiteral("/proc/self/status"));
    rlim_t mapped = 0;
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmSize:")) mapped = rlim_t(line.mid(7).trimmed().split(' ').value(0).toULongLong()) * 1024;
    rlimit old {};
    getrlimit(RLIMIT_AS, &old);
    const rlimit small{mapped + bytes, old.rlim_max};
    const QString message = mapped && setrlimit(RLIMIT_AS, &small) == 0 ? MessageOf(f) : QStringLiteral("<no limit>");
    setrlimit(RLIMIT_AS, &old);
    return message;
}

// Runs f while dir has the permissions dirNow and returns its message. Permissions do not bind
// the superuser, so a root process runs f as the user "nobody" meanwhile; dir's parent is opened
// to others for that while. "<no user>" when no such user can be taken on.
template <class F>
QString MessageWithDirectoryPermissions(const QString& dir, QFileDevice::Permissions dirNow, F&& f)
{
    using P = QFileDevice;
    const QString parent = QFileInfo(dir).absolutePath();
    const P::Permissions parentWas = QFile::permissions(parent);
    const P::Permissions dirWas = QFile::permissions(dir);
    const bool root = geteuid() == 0;
    const passwd* nobody = root ? getpwnam("nobody") : nullptr;
    if (root && !nobody) return QStringLiteral("<no user>");
    // Only add what is missing: a rewrite of all the bits would drop /tmp's sticky bit.
    const bool openParent = root && !(parentWas & P::ExeOther);
    if (openParent) QFile::setPermissions(parent, parentWas | P::ExeOther);
    QFile::setPermissions(dir, dirNow);
    QString message = QStringLiteral("<no user>");
    if (!root || seteuid(nobody->pw_uid) == 0) {
        message = MessageOf(f);
        if (root && seteuid(0) != 0) std::abort();
    }
    QFile::setPermissions(dir, dirWas);
    if (openParent) QFile::setPermissions(parent, parentWas);
    return message;
}

// Runs f while dir is read-only (see MessageWithDirectoryPermissions).
template <class F>
QString MessageInReadOnlyDirectory(const QString& dir, F&& f)
{
    using P = QFileDevice;
    return MessageWithDirectoryPermissions(dir, P::ReadOwner | P::ExeOwner | P::ReadOther | P::ExeOther, f);
}

// Runs f while file is read-only in a folder that takes new files (a replace could rename a new
// file over it), and returns its message.
template <class F>
QString MessageWithReadOnlyFile(const QString& file, F&& f)
{
    using P = QFileDevice;
    const P::Permissions fileWas = QFile::permissions(file);
    QFile::setPermissions(file, P::ReadOwner | P::ReadOther);
    const QString dir = QFileInfo(file).absolutePath();
    const QString message = MessageWithDirectoryPermissions(
        dir, QFile::permissions(dir) | P::ReadOther | P::WriteOther | P::ExeOther, f);
    QFile::setPermissions(file, fileWas);
    return message;
}
