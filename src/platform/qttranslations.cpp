#include "platform/qttranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace zelvan::platform {

QStringList qtTranslationFolders()
{
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))};
}

bool installQtTranslations(QCoreApplication &app, const QStringList &folders)
{
    for (const QString &folder : folders) {
        // qt_tr is Qt's catalogue of catalogues: it pulls in qtbase_tr and the rest.
        auto *translator = new QTranslator(&app);
        if (translator->load(QStringLiteral("qt_tr"), folder) && QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
    }
    return false;
}

} // namespace zelvan::platform
