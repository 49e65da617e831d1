#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace zelvan::platform {

// Writes `data` to `path` so that a reader never sees half a file. A regular
// file (or a missing one) is replaced atomically: a temporary file beside it,
// renamed over it once it is complete; a symbolic link is followed and its
// target replaced. Anything else that exists (a device such as /dev/stdout or
// /dev/full, a FIFO) is written into as it is, never replaced by a regular
// file. "-" is standard output. Returns an empty text on success, else the
// reason of the failure.
QString replaceFileContents(const QString &path, const QByteArray &data);
// The same with the contents read from `source` to its end, a piece at a
// time (a large file made elsewhere first, such as a workbook).
QString replaceFileContents(const QString &path, QIODevice &source);

} // namespace zelvan::platform
