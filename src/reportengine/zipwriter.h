#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;

namespace zelvan::reportengine {

// A zip archive written as it is made: entries one after another, each
// deflated as its bytes come, sizes and checksums after the data, so that
// nothing of an entry is held. Deflating and writing run on a thread of their
// own while the caller makes the next bytes; only a few chunks wait between
// the two, so memory stays flat whatever the size. Archives beyond 4 GB (the
// plain zip format's limit) are refused rather than written damaged.
class ZipWriter
{
public:
    // Writes to `device`, open for writing, which the caller leaves alone
    // until finish() has returned. `level` is zlib's (1 fastest, 9 smallest).
    explicit ZipWriter(QIODevice *device, int level = 1);
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    void beginEntry(const QByteArray &name);
    void write(QByteArray bytes);
    void endEntry();
    // Writes the directory and waits until everything is on the device; false
    // when a write failed, with errorString() saying why.
    bool finish();
    QString errorString() const;

    struct Worker;  // the thread's side

private:
    std::unique_ptr<Worker> m_worker;
};

} // namespace zelvan::reportengine
