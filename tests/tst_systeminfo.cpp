#include "platform/codepage1254.h"
#include "platform/systeminfo.h"

#include <QSysInfo>
#include <QTest>

class TestSystemInfo : public QObject
{
    Q_OBJECT

private slots:
    void putComputerName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<quint32>("size");  // in: the buffer's size as told; out: what the call sets
        QTest::addColumn<bool>("ok");
        QTest::addColumn<quint32>("sizeAfter");
        QTest::addColumn<QByteArray>("bufferAfter");  // the buffer starts as 8 blanks
        QTest::newRow("exactly fits") << QByteArray("PC1") << 4u << true << 3u << QByteArray("PC1\0    ", 8);
        QTest::newRow("no room for the NUL") << QByteArray("PC1") << 3u << false << 4u << QByteArray(8, ' ');
        QTest::newRow("size beyond the buffer") << QByteArray("PC1234567") << 255u << false << 10u << QByteArray(8, ' ');
        QTest::newRow("empty name") << QByteArray() << 1u << true << 0u << QByteArray("\0       ", 8);
    }
    void putComputerName()
    {
        QFETCH(QByteArray, name);
        QFETCH(quint32, size);
        QByteArray buffer(8, ' ');
        QTEST(zelvan::platform::putComputerName(name, buffer, size), "ok");
        QTEST(size, "sizeAfter");
        QTEST(buffer, "bufferAfter");
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
        QCOMPARE(buffer.first(size), zelvan::platform::toCp1254(QSysInfo::machineHostName()));
        QCOMPARE(qint32(system->getVersion()) % 256, 6);
        QVERIFY(!system->exitWindowsEx(2, 0));
#endif
    }
};

QTEST_APPLESS_MAIN(TestSystemInfo)
#include "tst_systeminfo.moc"
