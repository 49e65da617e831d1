#include "reportengine/zipwriter.h"

#include <QIODevice>
#include <QRandomGenerator>
#include <QTest>

using namespace zelvan;
using namespace zelvan::reportengine;
using namespace Qt::Literals::StringLiterals;

namespace {

// A device that takes `room` bytes and then fails as a full disk does.
class FullDevice : public QIODevice
{
public:
    explicit FullDevice(qint64 room) : m_room(room) { open(WriteOnly); }
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        if (size > m_room) {
            setErrorString(u"No space left on device"_s);
            return -1;
        }
        m_room -= size;
        return size;
    }

private:
    qint64 m_room;
};

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

} // namespace

// What the archives hold is read back by openpyxl (tst_reportrun) and, for a sheet of many chunks, by Python's
// zipfile (tst_workbookexport).
class TestZipWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // More chunks than wait between the caller and the thread, into a device
    // that fails early: the writer neither hangs nor says it succeeded.
    void fullDevice()
    {
        FullDevice device(100);
        ZipWriter zip(&device);
        zip.beginEntry("sheet.xml");
        for (int i = 0; i < 20; ++i)
            zip.write(randomBytes(64 * 1024));
        zip.endEntry();
        QVERIFY(!zip.finish());
        QCOMPARE(zip.errorString(), u"No space left on device"_s);
    }
};

QTEST_GUILESS_MAIN(TestZipWriter)
#include "tst_zipwriter.moc"
