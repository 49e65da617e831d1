#include "reportengine/reportexport.h"

#include "platform/replacefile.h"
#include "reportengine/reportpainter.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

namespace {

// Resolution of the PDF's coordinate space; text and lines are vectors, so
// this only sets how finely positions are written.
constexpr int PdfResolution = 1200;

QString writeStandardOutput(const QByteArray &bytes)
{
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);  // a PDF or PNG must not gain carriage returns
#endif
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) || std::fflush(stdout) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return QString();
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
        reason = toStandardOutput ? writeStandardOutput(buffer.data()) : platform::replaceFileContents(path, buffer.data());
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
        QPdfWriter writer(&device);
        writer.setResolution(PdfResolution);
        writer.setPageLayout(reportPageLayout(page));
        writer.setTitle(page.caption);
        writer.setCreator(u"Zelvan"_s);
        QPainter painter;
        if (!painter.begin(&writer))
            return u"PDF çizimi başlatılamadı"_s;
        paintPage(painter, page);
        if (!painter.end())
            return u"PDF çizimi tamamlanamadı"_s;
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
