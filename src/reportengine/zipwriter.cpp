#include "reportengine/zipwriter.h"

#include <QIODevice>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>

#include <zlib.h>

#include <deque>
#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

namespace {

enum class Op { Begin, Data, End, Finish, Stop };

struct Command
{
    Op op;
    QByteArray bytes;
};

struct Entry
{
    QByteArray name;
    quint32 crc = 0;
    quint64 compressed = 0;
    quint64 size = 0;
    quint64 offset = 0;
};

constexpr quint64 Limit = 0xFFFFFFFFu;  // sizes and offsets without the zip64 extension
constexpr size_t MaxWaiting = 8;        // commands between the caller and the thread
constexpr quint16 Version = 20;         // 2.0: deflate
constexpr quint16 SizesAfterData = 0x0008;
constexpr quint16 Deflated = 8;
constexpr quint16 DosTime = 0;
constexpr quint16 DosDate = (0 << 9) | (1 << 5) | 1;  // 1980-01-01, the format's first day: files alike byte for byte

void put16(QByteArray &out, quint64 value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

void put32(QByteArray &out, quint64 value)
{
    put16(out, value & 0xffff);
    put16(out, (value >> 16) & 0xffff);
}

// The fields that the local header and the directory share, from "version needed" to the name's length.
void putCommon(QByteArray &out, const Entry &entry)
{
    put16(out, Version);
    put16(out, SizesAfterData);
    put16(out, Deflated);
    put16(out, DosTime);
    put16(out, DosDate);
    put32(out, entry.crc);
    put32(out, entry.compressed);
    put32(out, entry.size);
    put16(out, quint64(entry.name.size()));
}

} // namespace

struct ZipWriter::Worker
{
    QIODevice *device;
    int level;
    QMutex mutex;
    QWaitCondition changed;
    std::deque<Command> queue;
    std::unique_ptr<QThread> thread;

    // The thread's own from here on; read by the caller only after wait().
    z_stream stream{};
    QByteArray out = QByteArray(256 * 1024, Qt::Uninitialized);  // deflate's output, reused
    Entry current;
    std::vector<Entry> entries;
    quint64 offset = 0;
    QString error;

    void push(Command command)
    {
        QMutexLocker lock(&mutex);
        while (queue.size() >= MaxWaiting)
            changed.wait(&mutex);
        queue.push_back(std::move(command));
        changed.wakeAll();
    }

    Command take()
    {
        QMutexLocker lock(&mutex);
        while (queue.empty())
            changed.wait(&mutex);
        Command command = std::move(queue.front());
        queue.pop_front();
        changed.wakeAll();
        return command;
    }

    void run()
    {
        for (;;) {
            Command command = take();
            if (command.op == Op::Stop)
                return;
            if (error.isEmpty())
                handle(command);
            if (command.op == Op::Finish)
                return;
        }
    }

    void handle(const Command &command)
    {
        switch (command.op) {
        case Op::Begin:
            begin(command.bytes);
            return;
        case Op::Data:
            current.crc = quint32(crc32(current.crc, reinterpret_cast<const Bytef *>(command.bytes.constData()),
                                        uInt(command.bytes.size())));
            current.size += quint64(command.bytes.size());
            deflateBytes(command.bytes, Z_NO_FLUSH);
            return;
        case Op::End:
            end();
            return;
        case Op::Finish:
            writeDirectory();
            return;
        case Op::Stop:
            return;
        }
    }

    void put(QByteArrayView bytes)
    {
        if (!error.isEmpty())
            return;
        if (offset + quint64(bytes.size()) > Limit) {
            error = u"dosya 4 GB sınırını aşıyor"_s;
            return;
        }
        if (device->write(bytes.data(), bytes.size()) != bytes.size()) {
            error = device->errorString();
            return;
        }
        offset += quint64(bytes.size());
    }

    void begin(const QByteArray &name)
    {
        current = Entry();
        current.name = name;
        current.crc = quint32(crc32(0, nullptr, 0));
        current.offset = offset;
        QByteArray header;
        put32(header, 0x04034b50);
        putCommon(header, Entry{name, 0, 0, 0, 0});  // sizes follow the data
        put16(header, 0);                           // no extra field
        put(header + name);
        if (deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            error = u"sıkıştırma başlatılamadı"_s;
    }

    void deflateBytes(const QByteArray &bytes, int flush)
    {
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
        stream.avail_in = uInt(bytes.size());
        int status = Z_OK;
        do {
            stream.next_out = reinterpret_cast<Bytef *>(out.data());
            stream.avail_out = uInt(out.size());
            status = deflate(&stream, flush);
            if (status == Z_STREAM_ERROR) {
                error = u"sıkıştırılamadı"_s;
                return;
            }
            const qsizetype made = out.size() - qsizetype(stream.avail_out);
            current.compressed += quint64(made);
            put(QByteArrayView(out).first(made));
        } while (error.isEmpty() && (stream.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END)));
    }

    void end()
    {
        deflateBytes(QByteArray(), Z_FINISH);
        deflateEnd(&stream);
        QByteArray descriptor;
        put32(descriptor, 0x08074b50);
        put32(descriptor, current.crc);
        put32(descriptor, current.compressed);
        put32(descriptor, current.size);
        put(descriptor);
        if (current.size > Limit)
            error = u"dosya 4 GB sınırını aşıyor"_s;
        entries.push_back(current);
    }

    void writeDirectory()
    {
        const quint64 start = offset;
        QByteArray directory;
        for (const Entry &entry : entries) {
            put32(directory, 0x02014b50);
            put16(directory, Version);  // made by: MS-DOS attributes, zip 2.0
            putCommon(directory, entry);
            put16(directory, 0);  // extra field
            put16(directory, 0);  // comment
            put16(directory, 0);  // disk
            put16(directory, 0);  // internal attributes
            put32(directory, 0);  // external attributes
            put32(directory, entry.offset);
            directory += entry.name;
        }
        const quint64 size = quint64(directory.size());
        put32(directory, 0x06054b50);
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, entries.size());
        put16(directory, entries.size());
        put32(directory, size);
        put32(directory, start);
        put16(directory, 0);
        put(directory);
    }
};

namespace {

class WorkerThread : public QThread
{
public:
    explicit WorkerThread(ZipWriter::Worker *worker) : m_worker(worker) {}

protected:
    void run() override { m_worker->run(); }

private:
    ZipWriter::Worker *m_worker;
};

} // namespace

ZipWriter::ZipWriter(QIODevice *device, int level)
    : m_worker(std::make_unique<Worker>())
{
    m_worker->device = device;
    m_worker->level = level;
    m_worker->thread = std::make_unique<WorkerThread>(m_worker.get());
    m_worker->thread->start();
}

ZipWriter::~ZipWriter()
{
    if (m_worker->thread->isRunning()) {
        m_worker->push({Op::Stop, {}});
        m_worker->thread->wait();
    }
    if (m_worker->stream.state)
        deflateEnd(&m_worker->stream);
}

void ZipWriter::beginEntry(const QByteArray &name)
{
    m_worker->push({Op::Begin, name});
}

void ZipWriter::write(QByteArray bytes)
{
    if (!bytes.isEmpty())
        m_worker->push({Op::Data, std::move(bytes)});
}

void ZipWriter::endEntry()
{
    m_worker->push({Op::End, {}});
}

bool ZipWriter::finish()
{
    m_worker->push({Op::Finish, {}});
    m_worker->thread->wait();
    return m_worker->error.isEmpty();
}

QString ZipWriter::errorString() const
{
    return m_worker->error;
}

} // namespace zelvan::reportengine
