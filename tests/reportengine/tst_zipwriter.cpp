#include "reportengine/zipwriter.h"
#include "support/zelvanrun.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace zelvan::reportengine;
using namespace Qt::Literals::StringLiterals;

namespace {

// Python's zipfile, a reader of its own: each entry's name and the SHA-256 of
// its contents once their CRC and size matched the directory's; or the
// reader's complaint.
const QString Reader = uR"(
import hashlib, json, sys, zipfile
entries = []
with zipfile.ZipFile(sys.argv[1]) as z:
    for i in z.infolist():
        data = z.read(i)
        if len(data) != i.file_size: sys.exit("size of " + i.filename)
        entries.append([i.filename, hashlib.sha256(data).hexdigest()])
print(json.dumps(entries))
)"_s;

test::ZelvanRun readBack(const QString &file)
{
    return test::runProgram(u"/usr/bin/python3"_s, {u"-c"_s, Reader, file});
}

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

class TestZipWriter : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    // Entries of every shape, in one archive, as another reader finds them.
    void readBackByAnotherReader_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("chunk");  // bytes handed over at a time
        QTest::newRow("empty") << "empty.xml"_ba << QByteArray() << 1;
        QTest::newRow("repetitive, many chunks") << "xl/worksheets/sheet1.xml"_ba
                                                 << QByteArray("<row><c><v>1</v></c></row>").repeated(200000) << 65536;
        QTest::newRow("incompressible, beyond the output buffer") << "data.bin"_ba << randomBytes(1 << 20) << 300000;
    }
    void readBackByAnotherReader()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, contents);
        QFETCH(int, chunk);
        QFile file(m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_')));
        QVERIFY(file.open(QIODevice::WriteOnly));
        ZipWriter zip(&file);
        zip.beginEntry("first.txt");
        zip.write("before");
        zip.endEntry();
        zip.beginEntry(name);
        for (qsizetype at = 0; at < contents.size(); at += chunk)
            zip.write(contents.mid(at, chunk));
        zip.endEntry();
        QVERIFY(zip.finish());
        file.close();
        const test::ZelvanRun read = readBack(file.fileName());
        QVERIFY2(read.exitCode == 0, read.err.constData());
        const QJsonArray entries = QJsonDocument::fromJson(read.out).array();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[1][0].toString().toUtf8(), name);
        QCOMPARE(entries[1][1].toString().toLatin1(), QCryptographicHash::hash(contents, QCryptographicHash::Sha256).toHex());
    }

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
