// Fault helpers of the platform tests: the message a call fails with, and a file-size limit
// reached mid-write.
#pragma once

#include "Exceptions.h"

#include <csignal>
#include <sys/resource.h>

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
    rlimit small = old;
    small.rlim_cur = bytes;
    const QString message = setrlimit(RLIMIT_FSIZE, &small) == 0 ? MessageOf(f) : QStringLiteral("<no limit>");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return message;
}
