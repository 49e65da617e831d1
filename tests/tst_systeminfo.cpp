#include "platform/codepage1254.h"
#include "platform/systeminfo.h"

#include <QSysInfo>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestSystemInfo : public QObject
{
    Q_OBJECT

private slots:
    void putComputerName_data();
    void putComputerName();
    void thisSystem();
};

void TestSystemInfo::putComputerName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("bufferSize");
    QTest::addColumn<quint32>("size");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint32>("sizeAfter");
    QTest::addColumn<QByteArray>("bufferAfter");

    QTest::newRow("fits") << QByteArray("PC1") << 8 << 8u << true << 3u << QByteArray("PC1\0    ", 8);
    QTest::newRow("exactly fits") << QByteArray("PC1") << 4 << 4u << true << 3u << QByteArray("PC1\0", 4);
    QTest::newRow("no room for the NUL") << QByteArray("PC1") << 3 << 3u << false << 4u << QByteArray("   ");
    QTest::newRow("size smaller than the buffer") << QByteArray("PC1") << 8 << 3u << false << 4u
                                                  << QByteArray("        ");
    QTest::newRow("size larger than the buffer") << QByteArray("PC1") << 3 << 255u << false << 4u
                                                 << QByteArray("   ");
    QTest::newRow("empty name") << QByteArray() << 2 << 2u << true << 0u << QByteArray("\0 ", 2);
    QTest::newRow("1254 letters") << QByteArray("\xDE\xDD") << 4 << 4u << true << 2u
                                  << QByteArray("\xDE\xDD\0 ", 4);
}

void TestSystemInfo::putComputerName()
{
    QFETCH(QByteArray, name);
    QFETCH(int, bufferSize);
    QFETCH(quint32, size);
    QFETCH(bool, ok);
    QFETCH(quint32, sizeAfter);
    QFETCH(QByteArray, bufferAfter);

    QByteArray buffer(bufferSize, ' ');
    QCOMPARE(zelvan::platform::putComputerName(name, buffer, size), ok);
    QCOMPARE(size, sizeAfter);
    QCOMPARE(buffer, bufferAfter);
}

void TestSystemInfo::thisSystem()
{
    const auto system = zelvan::platform::createSystemInfo();
#ifndef Q_OS_WIN
    QCOMPARE(qint32(system->getVersion()) % 256, 6);
    QVERIFY(!system->exitWindowsEx(2, 0));
#endif
    // As the login dialog asks: 255 blanks, then the name ended by a NUL.
    QByteArray buffer(255, ' ');
    quint32 size = 255;
    QVERIFY(system->getComputerName(buffer, size));
#ifndef Q_OS_WIN
    const QByteArray expected = zelvan::platform::toCp1254(QSysInfo::machineHostName());
    QCOMPARE(buffer.first(size), expected);
#endif
    QCOMPARE(buffer[size], '\0');
    QCOMPARE(buffer.sliced(size + 1), QByteArray(254 - qsizetype(size), ' '));
}

QTEST_APPLESS_MAIN(TestSystemInfo)
#include "tst_systeminfo.moc"
