#include "platform/systeminfo.h"
#include "runtime/codepage1254.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestSystemInfo : public QObject
{
    Q_OBJECT

private slots:
    // A buffer of 8 blanks: what the call returns, the size it sets and the buffer it leaves.
    void putComputerName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<quint32>("size");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<quint32>("sizeAfter");
        QTest::addColumn<QByteArray>("buffer");
        QTest::newRow("just fits") << QByteArray("PC1") << 4u << true << 3u << QByteArray("PC1\0    ", 8);
        QTest::newRow("no room for the NUL") << QByteArray("PC1") << 3u << false << 4u << QByteArray(8, ' ');
        QTest::newRow("empty name") << QByteArray() << 1u << true << 0u << QByteArray("\0       ", 8);
    }
    void putComputerName()
    {
        QFETCH(QByteArray, name);
        QFETCH(quint32, size);
        QByteArray buffer(8, ' ');
        QTEST(zelvan::platform::putComputerName(name, buffer, size), "ok");
        QTEST(size, "sizeAfter");
        QTEST(buffer, "buffer");
    }

    // As the login dialog asks: 255 blanks, then the name ended by a NUL.
    void thisSystem()
    {
        const auto system = zelvan::platform::createSystemInfo();
        QByteArray buffer(255, ' ');
        quint32 size = 255;
        QVERIFY(system->getComputerName(buffer, size));
        QCOMPARE(buffer.sliced(size), '\0' + QByteArray(254 - qsizetype(size), ' '));
#ifndef Q_OS_WIN
        QCOMPARE(buffer.first(size), zelvan::runtime::toCp1254(QSysInfo::machineHostName()));
#endif
    }
};

QTEST_APPLESS_MAIN(TestSystemInfo)
#include "tst_systeminfo.moc"
