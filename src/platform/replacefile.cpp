#include "platform/replacefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <functional>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace zelvan::platform {

namespace {

const QString ShortWrite = u"dosyanın tamamı yazılamadı (disk dolu olabilir)"_s;

// Writes everything into an open file; false on a short write.
using Contents = std::function<bool(QFileDevice &)>;

QString writeInto(const QString &path, const Contents &write)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (!write(file))
        return ShortWrite;
    file.close();
    return file.error() == QFileDevice::NoError ? QString() : file.errorString();
}

QString replaceRegularFile(const QString &path, const Contents &write)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // Flushed here because commit() ignores a failure of its own final flush
    // and would rename a cut-off file over the target. A short write carries
    // no reason of its own.
    if (!write(file) || !file.flush()) {
        file.cancelWriting();
        return ShortWrite;
    }
    return file.commit() ? QString() : file.errorString();
}

// "-": the process's standard output, as command-line tools take it.
QString writeStandardOutput(const Contents &write)
{
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);  // a PDF or workbook must not gain carriage returns
#endif
    std::fflush(stdout);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return out.errorString();
    if (!write(out))
        return ShortWrite;
    return std::fflush(stdout) == 0 ? QString() : out.errorString();
}

QString replace(const QString &path, const Contents &write)
{
    if (path == u"-")
        return writeStandardOutput(write);
    const QFileInfo target(path);  // exists() and isFile() follow symbolic links
    if (target.exists() && !target.isFile())
        return writeInto(path, write);
    if (target.isSymLink()) {
        // A link to a regular file: replace the file, keep the link.
        const QString resolved = target.exists() ? target.canonicalFilePath() : target.symLinkTarget();
        return replaceRegularFile(resolved, write);
    }
    return replaceRegularFile(path, write);
}

} // namespace

QString replaceFileContents(const QString &path, const QByteArray &data)
{
    return replace(path, [&data](QFileDevice &file) { return file.write(data) == data.size(); });
}

QString replaceFileContents(const QString &path, QIODevice &source)
{
    return replace(path, [&source](QFileDevice &file) {
        char piece[65536];
        for (;;) {
            const qint64 read = source.read(piece, sizeof piece);
            if (read < 0)
                return false;
            if (read == 0)
                return source.atEnd();
            if (file.write(piece, read) != read)
                return false;
        }
    });
}

} // namespace zelvan::platform
