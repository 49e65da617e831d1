#include "reportengine/reportexport.h"

#include "platform/replacefile.h"
#include "reportengine/reportpainter.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

namespace {

// Resolution of the PDF's coordinate space; text and lines are vectors, so
// this only sets how finely positions are written.
constexpr int PdfResolution = 1200;

// A PDF text string: UTF-16BE after its byte order mark, written in hex.
QByteArray pdfText(const QString &text)
{
    QByteArray hex = "FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return '<' + hex + '>';
}

// A number that follows `key` in `text` from `from` on; -1 when there is none.
qint64 numberAfter(const QByteArray &text, const QByteArray &key, qsizetype from)
{
    const qsizetype at = text.indexOf(key, from);
    if (at < 0)
        return -1;
    qsizetype i = at + key.size();
    while (i < text.size() && (text[i] == ' ' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    qsizetype end = i;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    bool ok = false;
    const qint64 value = text.mid(i, end - i).toLongLong(&ok);
    return ok ? value : -1;
}

// Qt's PDF writer has no subject: the document information is written again,
// with it, as an incremental update appended to the file (what was written
// stays byte for byte; every reader takes the newer object). The file as it
// was when its trailer is not the simple one Qt writes.
QByteArray withSubject(const QByteArray &pdf, const QString &title, const QString &subject)
{
    const qsizetype trailer = pdf.lastIndexOf("trailer");
    const qint64 size = numberAfter(pdf, "/Size", trailer);
    const qint64 info = numberAfter(pdf, "/Info", trailer);
    const qint64 root = numberAfter(pdf, "/Root", trailer);
    const qint64 previousXref = numberAfter(pdf, "startxref", trailer);
    if (trailer < 0 || size <= 0 || info <= 0 || root <= 0 || previousXref <= 0)
        return pdf;
    QByteArray update = pdf.endsWith('\n') ? QByteArray() : QByteArray("\n");
    const qint64 infoOffset = pdf.size() + update.size();
    update += QByteArray::number(info) + " 0 obj\n<<\n/Title " + pdfText(title) + "\n/Subject " + pdfText(subject)
              + "\n/Creator " + pdfText(u"Zelvan"_s) + "\n/Producer " + pdfText(u"Zelvan"_s) + "\n/CreationDate (D:"
              + QDateTime::currentDateTimeUtc().toString(u"yyyyMMddHHmmss"_s).toLatin1() + "Z)\n>>\nendobj\n";
    const qint64 xref = pdf.size() + update.size();
    update += "xref\n0 1\n0000000000 65535 f \n" + QByteArray::number(info) + " 1\n"
              + QByteArray::number(infoOffset).rightJustified(10, '0') + " 00000 n \n";
    update += "trailer\n<<\n/Size " + QByteArray::number(size) + "\n/Info " + QByteArray::number(info) + " 0 R\n/Root "
              + QByteArray::number(root) + " 0 R\n/Prev " + QByteArray::number(previousXref) + "\n>>\nstartxref\n"
              + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf + update;
}

// The file is made in memory first, so that writing it is one step whose
// failure has a plain reason; a regular file is then replaced only when
// everything was written (see replaceFileContents).
// `make` returns an empty text on success, else the reason of its failure.
bool writeReplacing(const QString &path, const QString &what, QString *errorText,
                    const std::function<QString(QIODevice &)> &make)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString reason = make(buffer);
    const bool toStandardOutput = path == StandardOutputPath;
    if (reason.isEmpty())
        reason = platform::replaceFileContents(path, buffer.data());
    if (reason.isEmpty())
        return true;
    if (errorText && toStandardOutput)
        *errorText = u"%1 standart çıktıya yazılamadı: %2"_s.arg(what, reason);
    else if (errorText)
        *errorText = u"%1 dosyası yazılamadı: %2: %3"_s.arg(what, QDir::toNativeSeparators(path), reason);
    return false;
}

} // namespace

bool writePdf(const ReportPage &page, const QString &path, QString *errorText)
{
    return writeReplacing(path, u"PDF"_s, errorText, [&page](QIODevice &device) {
        QBuffer drawn;
        drawn.open(QIODevice::WriteOnly);
        QPdfWriter writer(&drawn);
        writer.setResolution(PdfResolution);
        writer.setPageLayout(reportPageLayout(page));
        writer.setTitle(page.title());
        writer.setCreator(u"Zelvan"_s);
        QPainter painter;
        if (!painter.begin(&writer))
            return u"PDF çizimi başlatılamadı"_s;
        paintPage(painter, page);
        if (!painter.end())
            return u"PDF çizimi tamamlanamadı"_s;
        device.write(page.documentSubject.isEmpty() ? drawn.data() : withSubject(drawn.data(), page.title(), page.documentSubject));
        return QString();
    });
}

bool writePng(const ReportPage &page, const QString &path, QString *errorText)
{
    return writeReplacing(path, u"PNG"_s, errorText, [&page](QIODevice &device) {
        QImageWriter writer(&device, "png");
        if (!writer.write(renderPage(page, PngDpi)))
            return writer.errorString();
        return QString();
    });
}

} // namespace zelvan::reportengine
