#pragma once

#include <QRectF>
#include <QStringList>


namespace zelvan::test {

// The poppler tools (pdfinfo, pdftotext, pdffonts) read a PDF back as any other reader would.
bool popplerAvailable();
// The tool's standard output (UTF-8), or a null string when the run fails.
QString runPoppler(const QString &program, const QStringList &arguments);

// One word of a page as pdftotext -bbox places it, in points from the top left.
struct PdfWord
{
    QString text;
    QRectF box;
};
QList<PdfWord> pdfWords(const QString &pdfPath);

// The value of a "Key: value" line of pdfinfo.
QString pdfInfoValue(const QString &pdfPath, const QString &key);

} // namespace zelvan::test
