#pragma once

#include <QStringList>

class QCoreApplication;

namespace zelvan::platform {

// Where Qt's own translations may lie: Qt's installation, then a
// "translations" folder beside the program (where windeployqt puts them).
QStringList qtTranslationFolders();

// Loads Qt's Turkish texts from the first of `folders` that has them, so that
// the standard dialogs (print, printer properties, files) speak Turkish as the
// program does. False when none has them: the dialogs then stay in English.
bool installQtTranslations(QCoreApplication &app, const QStringList &folders = qtTranslationFolders());

} // namespace zelvan::platform
