// The application object's set-up at start: its title and the Russian texts of Qt's own
// buttons and dialogs.
#include "Application.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QTranslator* SetUpApplication()
{
    // Only the name: a display name would be appended to every window caption.
    QCoreApplication::setApplicationName(QStringLiteral("Кестрова"));

    // The program speaks Russian whatever the desktop's language, and so do Yes, No, Cancel
    // and the file, colour and print dialogs.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qWarning("Kestrova: Qt's Russian translations are missing (package qt6-translations-l10n)");
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}
