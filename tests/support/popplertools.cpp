#include "support/popplertools.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::test {

bool popplerAvailable()
{
    for (const QString &tool : {u"pdfinfo"_s, u"pdftotext"_s, u"pdffonts"_s}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return false;
    }
    return true;
}

QString runPoppler(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<PdfWord> pdfWords(const QString &pdfPath)
{
    QList<PdfWord> words;
    QXmlStreamReader xml(runPoppler(u"pdftotext"_s, {u"-bbox"_s, pdfPath, u"-"_s}));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"word")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const double xMin = a.value(u"xMin"_s).toDouble();
        const double yMin = a.value(u"yMin"_s).toDouble();
        const double xMax = a.value(u"xMax"_s).toDouble();
        const double yMax = a.value(u"yMax"_s).toDouble();
        words.append({xml.readElementText(), QRectF(QPointF(xMin, yMin), QPointF(xMax, yMax))});
    }
    return words;
}

QString pdfInfoValue(const QString &pdfPath, const QString &key)
{
    const QString info = runPoppler(u"pdfinfo"_s, {pdfPath});
    const QRegularExpression line(u"^"_s + QRegularExpression::escape(key) + u":\\s*(.*)$"_s,
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = line.match(info);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

} // namespace zelvan::test
