#include "reportengine/savedialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

QString askSavePath(QWidget *parent, SavedFile kind, const QString &fileName)
{
    const bool pdf = kind == SavedFile::Pdf;
    QString path = QFileDialog::getSaveFileName(parent, pdf ? u"PDF Olarak Kaydet"_s : u"Excel Olarak Kaydet"_s,
                                                QDir::home().filePath(fileName),
                                                pdf ? u"PDF dosyaları (*.pdf)"_s : u"Excel çalışma kitapları (*.xlsx)"_s);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += pdf ? u".pdf"_s : u".xlsx"_s;
    return path;
}

} // namespace zelvan::reportengine
