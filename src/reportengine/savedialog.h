#pragma once

#include <QString>

class QWidget;

namespace zelvan::reportengine {

enum class SavedFile { Pdf, Workbook };

// Asks where to save a file of the kind, offering `fileName` in the home
// folder; a name typed without an extension gets the kind's. Empty when the
// user cancelled.
QString askSavePath(QWidget *parent, SavedFile kind, const QString &fileName);

} // namespace zelvan::reportengine
