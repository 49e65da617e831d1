#include "platform/replacefile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

#include <sys/stat.h>

using namespace zelvan;
using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

namespace {

enum class Target { RegularFile, LinkToFile, Fifo };

// The kind of file system object at `path` (lstat: a link is a link).
QString kindOf(const QString &path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return u"missing"_s;
    if (S_ISLNK(info.st_mode))
        return u"link"_s;
    if (S_ISFIFO(info.st_mode))
        return u"fifo"_s;
    return S_ISREG(info.st_mode) ? u"file"_s : u"other"_s;
}

// Makes the target in `dir`; false when this machine does not allow it.
bool makeTarget(Target target, const QTemporaryDir &dir, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    switch (target) {
    case Target::RegularFile: return QFile(path).open(QIODevice::WriteOnly) && QFile(path).resize(300);
    case Target::LinkToFile:
        return QFile(dir.filePath(u"real"_s)).open(QIODevice::WriteOnly) && QFile::link(dir.filePath(u"real"_s), path);
    case Target::Fifo: return ::mkfifo(name.constData(), 0666) == 0;
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Target)

class TestReplaceFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void targets_data()
    {
        QTest::addColumn<Target>("target");
        QTest::addColumn<QString>("kindAfter");
        QTest::addColumn<QString>("contentsAt");  // a file below the folder that then holds the data, or empty
        QTest::newRow("longer regular file") << Target::RegularFile << u"file"_s << u"out"_s;
        QTest::newRow("link to a file") << Target::LinkToFile << u"link"_s << u"real"_s;
        QTest::newRow("fifo") << Target::Fifo << u"fifo"_s << QString();
    }

    // Whatever is there keeps its kind and holds just the new bytes; a FIFO is written into, never replaced.
    // A new file: the report runs (tst_reportrun); a write that fails: tst_faults.
    void targets()
    {
        QFETCH(Target, target);
        QFETCH(QString, contentsAt);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"out"_s);
        if (!makeTarget(target, dir, path))
            QSKIP("this machine does not allow making such a file");
        const QByteArray data("ZELVAN RAPORU\n");
        QByteArray fromFifo;
        std::thread reader;
        if (target == Target::Fifo)
            reader = std::thread([&] {
                QFile fifo(path);
                if (fifo.open(QIODevice::ReadOnly))
                    fromFifo = fifo.readAll();
            });
        const QString error = replaceFileContents(path, data);
        if (reader.joinable())
            reader.join();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QTEST(kindOf(path), "kindAfter");
        if (!contentsAt.isEmpty()) {
            QFile file(dir.filePath(contentsAt));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), data);
        }
        if (target == Target::Fifo)
            QCOMPARE(fromFifo, data);
    }
};

QTEST_GUILESS_MAIN(TestReplaceFile)
#include "tst_replacefile.moc"
