// Runs every file named (or found in a directory named) through the harness once: the corpus
// replay of a build without libFuzzer. Exits non-zero when a check fails (it aborts).
#include "FuzzSupport.h"

#include <QDirIterator>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        QStringList paths;
        if (QFileInfo(arg).isDir()) {
            QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) paths << it.next();
            paths.sort();
        } else {
            paths << arg;
        }
        for (const QString& path : paths) {
            std::fprintf(stderr, "%s\n", qPrintable(path));
            const QByteArray bytes = Fuzz::Bytes(path);
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            ++files;
        }
    }
    std::printf("%d inputs replayed\n", files);
    return files > 0 ? 0 : 1;
}
