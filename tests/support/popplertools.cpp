#include "support/popplertools.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>



using namespace Qt::Literals::StringLiterals;

namespace zelvan::test {

bool popplerAvailable()
{
    for (const QString &tool : {u"pdfinfo"_s, u"pdftotext"_s, u"pdffonts"_s})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return false;
    return true;
}

QString runPoppler(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    const bool ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return ok ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

QList<PdfWord> pdfWords(const QString &pdfPath)
{
    QList<PdfWord> words;
    QXmlStreamReader xml(runPoppler(u"pdftotext"_s, {u"-bbox"_s, pdfPath, u"-"_s}));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"word")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QRectF box(QPointF(a.value(u"xMin"_s).toDouble(), a.value(u"yMin"_s).toDouble()),
                         QPointF(a.value(u"xMax"_s).toDouble(), a.value(u"yMax"_s).toDouble()));
        words.append({xml.readElementText(), box});
    }
    return words;
}

QString pdfInfoValue(const QString &pdfPath, const QString &key)
{
    const QRegularExpression line(u"^"_s + QRegularExpression::escape(key) + u":\\s*(.*)$"_s,
                                  QRegularExpression::MultilineOption);
    return line.match(runPoppler(u"pdfinfo"_s, {pdfPath})).captured(1).trimmed();
}

} // namespace zelvan::test
