#include "reportengine/reportexport.h"

#include "reportengine/reportpainter.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

namespace {

// Resolution of the PDF's coordinate space; text and lines are vectors, so
// this only sets how finely positions are written.
constexpr int PdfResolution = 1200;

// The file is made in memory first, so that writing it is one step whose
// failure has a plain reason, then written to a temporary file in the target's
// folder that is renamed over the target only when everything was written.
// `make` returns an empty text on success, else the reason of its failure.
bool writeReplacing(const QString &path, const QString &what, QString *errorText,
                    const std::function<QString(QIODevice &)> &make)
{
    const auto fail = [&](const QString &reason) {
        if (errorText)
            *errorText = u"%1 dosyası yazılamadı: %2: %3"_s.arg(what, QDir::toNativeSeparators(path), reason);
        return false;
    };
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QString reason = make(buffer);
    if (!reason.isEmpty())
        return fail(reason);

    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    // Flushed here because commit() ignores a failure of its own final flush
    // and would rename a cut-off file over the target. A short write carries no
    // reason of its own.
    if (file.write(buffer.data()) != buffer.size() || !file.flush()) {
        file.cancelWriting();
        return fail(u"dosyanın tamamı yazılamadı (disk dolu olabilir)"_s);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
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
