#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace zelvan::test {

// The poppler command-line tools (pdfinfo, pdftotext, pdffonts) read back a
// PDF as any other reader would.
bool popplerAvailable();

// Runs `program` with `arguments` and returns its standard output (UTF-8),
// or a null string when the run fails.
QString runPoppler(const QString &program, const QStringList &arguments);

// One word of a page as pdftotext -bbox places it, in points from the top left.
struct PdfWord
{
    QString text;
    QRectF box;
};

QList<PdfWord> pdfWords(const QString &pdfPath);

// "Key: value" lines of pdfinfo.
QString pdfInfoValue(const QString &pdfPath, const QString &key);

} // namespace zelvan::test
