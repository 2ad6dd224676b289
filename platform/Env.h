// The process's surroundings: names for the log, directories, memory, the desktop.
#pragma once

#include <QString>

namespace Env {

// Empty when it cannot be read (the caller writes "н.д.").
QString UserName();
QString ComputerName();
// The directory of the executable, ending with "/".
QString ProgramDir();
// TEMP when set and not empty, else a private per-user directory (mode 0700), created on demand.
QString HandOffDir();
// Free physical memory in bytes (/proc/meminfo), 0 when unknown.
quint64 FreeMemory();
quint64 TotalMemory();
// Opens a file (relative names from the current directory) or URL with the desktop's handler.
bool OpenWithDesktop(const QString& fileOrUrl);
// Starts a calculator program if one is installed.
bool StartCalculator();

}  // namespace Env
