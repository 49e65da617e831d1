#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

class TestReportRun : public QObject
{
    Q_OBJECT

    QTemporaryDir m_instance;
    QTemporaryDir m_work;
    QString m_registry = m_work.filePath(u"registry.reg"_s);
    QString m_launch = u"NRV_DEMO_2026|%1|1|norvent|Zelvan2026"_s.arg(m_instance.path());

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QProcess::execute(test::binaryPath(u"zelvan-demo"_s), {m_instance.path()}), 0);
        test::writeRegistry(m_registry);
    }

    // One run on a demo instance writes the JSON, the PDF and the PNG and leaves the instance as it was;
    // a display that is gone is never needed.
    void jsonPdfAndPng()
    {
        const QByteArray digest = test::directoryDigest(m_instance.path());
        const QString pdf = m_work.filePath(u"rapor.pdf"_s);
        const QString png = m_work.filePath(u"rapor.png"_s);
        int display = 90;  // one that nobody serves
        while (QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)) || QFile::exists(u"/tmp/.X%1-lock"_s.arg(display)))
            ++display;
        QProcessEnvironment environment = test::runEnvironment(m_registry);
        environment.insert(u"DISPLAY"_s, u":%1"_s.arg(display));
        environment.remove(u"QT_QPA_PLATFORM"_s);
        const test::ZelvanRun result = test::runZelvan(
            {u"--json"_s, u"--pdf"_s, pdf, u"--png"_s, png, u"--"_s, m_launch}, environment);
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QVERIFY(result.messages.isEmpty());
        QCOMPARE(test::directoryDigest(m_instance.path()), digest);
        QVERIFY(test::readFile(pdf).startsWith("%PDF-"));
        const QImage image(png, "PNG");
        QCOMPARE(image.size(), QSize(1275, 1650));
        QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 150);

        const QJsonObject json = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(json[u"title"_s].toString(), u"ZELVAN RAPORU"_s);
        const QJsonObject fields = json[u"fields"_s].toObject();
        QCOMPARE(fields.size(), 20);
        QCOMPARE(json[u"values"_s].toObject().size(), 18);
        QVERIFY(fields[u"toplam_Stok_degeri"_s].toString() != u"0,00");  // the demo holds stock
        QCOMPARE(json[u"company"_s][u"code"_s].toString(), u"DT01"_s);
        QCOMPARE(QDateTime::fromString(json[u"generated"_s].toString(), Qt::ISODate).date(),
                 QDate::fromString(fields[u"tarih"_s].toString(), u"dd.MM.yyyy"_s));
    }

    // "-" as the file: the whole file on standard output, and no file named "-".
    void standardOutput_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("PDF") << u"--pdf"_s << "%PDF-"_ba << "%%EOF\n"_ba;
        QTest::newRow("PNG") << u"--png"_s << "\x89PNG\r\n"_ba << "IEND\xAE\x42\x60\x82"_ba;
    }
    void standardOutput()
    {
        QFETCH(QString, option);
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, end);
        const test::ZelvanRun result = test::runProgram(test::binaryPath(u"zelvan"_s), {option, u"-"_s, u"--"_s, m_launch},
                                                        test::runEnvironment(m_registry), 120000, {}, m_work.path());
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QVERIFY(result.out.startsWith(start));
        QVERIFY(result.out.endsWith(end));
        QVERIFY(!QFile::exists(m_work.filePath(u"-"_s)));
    }
};

QTEST_GUILESS_MAIN(TestReportRun)
#include "tst_reportrun.moc"
