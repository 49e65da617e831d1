#include "platform/replacefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::platform {

namespace {

const QString ShortWrite = u"dosyanın tamamı yazılamadı (disk dolu olabilir)"_s;

QString writeInto(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(data) != data.size())
        return ShortWrite;
    file.close();
    return file.error() == QFileDevice::NoError ? QString() : file.errorString();
}

QString replaceRegularFile(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // Flushed here because commit() ignores a failure of its own final flush
    // and would rename a cut-off file over the target. A short write carries
    // no reason of its own.
    if (file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        return ShortWrite;
    }
    return file.commit() ? QString() : file.errorString();
}

} // namespace

QString replaceFileContents(const QString &path, const QByteArray &data)
{
    const QFileInfo target(path);  // exists() and isFile() follow symbolic links
    if (target.exists() && !target.isFile())
        return writeInto(path, data);
    if (target.isSymLink()) {
        // A link to a regular file: replace the file, keep the link.
        const QString resolved = target.exists() ? target.canonicalFilePath() : target.symLinkTarget();
        return replaceRegularFile(resolved, data);
    }
    return replaceRegularFile(path, data);
}

} // namespace zelvan::platform
