#include "platform/systeminfo.h"
#include "runtime/codepage1254.h"

#include <QTest>

class TestSystemInfo : public QObject
{
    Q_OBJECT

private slots:
    // The size told in, and what the call gives back: its result, the size it sets, the buffer (8 blanks before).
    void putComputerName()
    {
        const std::tuple<QByteArray, quint32, std::tuple<bool, quint32, QByteArray>> calls[] = {
            {"PC1", 4, {true, 3, QByteArray("PC1\0    ", 8)}}, {"PC1", 3, {false, 4, QByteArray(8, ' ')}},  // no room for the NUL
            {"PC1234567", 255, {false, 10, QByteArray(8, ' ')}}, {"", 1, {true, 0, QByteArray("\0       ", 8)}}};
        for (QByteArray buffer; auto [name, size, expected] : calls) {
            const bool ok = zelvan::platform::putComputerName(name, buffer.fill(' ', 8), size);
            QCOMPARE(std::tuple(ok, size, buffer), expected);
        }
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
        QVERIFY(qint32(system->getVersion()) % 256 == 6 && !system->exitWindowsEx(2, 0));
#endif
    }
};

QTEST_APPLESS_MAIN(TestSystemInfo)
#include "tst_systeminfo.moc"

using namespace zelvan;
using namespace zelvan::platform;
