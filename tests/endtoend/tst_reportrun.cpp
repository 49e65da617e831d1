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

private Q_SLOTS:
    // One run on a demo instance writes the JSON, the PDF and the PNG and leaves the instance as it was;
    // a display that is gone is never needed.
    void jsonPdfAndPng()
    {
        QTemporaryDir instance;
        QTemporaryDir work;
        QCOMPARE(QProcess::execute(test::binaryPath(u"zelvan-demo"_s), {instance.path()}), 0);
        const QByteArray digest = test::directoryDigest(instance.path());
        const QString registry = work.filePath(u"registry.reg"_s);
        const QString pdf = work.filePath(u"rapor.pdf"_s);
        const QString png = work.filePath(u"rapor.png"_s);
        test::writeRegistry(registry);
        int display = 90;  // one that nobody serves
        while (QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)) || QFile::exists(u"/tmp/.X%1-lock"_s.arg(display)))
            ++display;
        QProcessEnvironment environment = test::runEnvironment(registry);
        environment.insert(u"DISPLAY"_s, u":%1"_s.arg(display));
        environment.remove(u"QT_QPA_PLATFORM"_s);
        const test::ZelvanRun result = test::runZelvan(
            {u"--json"_s, u"--pdf"_s, pdf, u"--png"_s, png, u"--"_s, u"NRV_DEMO_2026|%1|1|norvent|Zelvan2026"_s.arg(instance.path())}, environment);
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QVERIFY(result.messages.isEmpty());
        QCOMPARE(test::directoryDigest(instance.path()), digest);
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
    }
};

QTEST_GUILESS_MAIN(TestReportRun)
#include "tst_reportrun.moc"
