#include "report/detailformat.h"
#include "runtime/currency.h"
#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QImage>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

class TestReportRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One run on a demo instance writes the JSON, the PDF and the PNG and leaves the instance as it was;
    // the JSON's amounts are the database's sums.
    void jsonPdfAndPng()
    {
        QTemporaryDir instance, work;
        QCOMPARE(QProcess::execute(test::binaryPath(u"zelvan-demo"_s), {instance.path()}), 0);
        const QByteArray digest = test::directoryDigest(instance.path());
        const QString registry = work.filePath(u"registry.reg"_s), pdf = work.filePath(u"rapor.pdf"_s), png = work.filePath(u"rapor.png"_s);
        test::writeRegistry(registry);
        const test::ZelvanRun result = test::runZelvan(
            {u"--json"_s, u"--pdf"_s, pdf, u"--png"_s, png, u"--"_s, u"NRV_DEMO_2026|%1|1|norvent|Zelvan2026"_s.arg(instance.path())},
            test::runEnvironment(registry));
        QVERIFY2(!result.crashed && result.exitCode == 0 && result.messages.isEmpty(), result.err.constData());
        QCOMPARE(test::directoryDigest(instance.path()), digest);
        const QImage image(png, "PNG");
        QVERIFY(test::readFile(pdf).startsWith("%PDF-") && image.size() == QSize(1275, 1650) && qRound(image.dotsPerMeterX() * 0.0254) == 150);

        const QJsonObject json = QJsonDocument::fromJson(result.out).object();
        const QJsonObject fields = json[u"fields"_s].toObject(), values = json[u"values"_s].toObject();
        QVERIFY(json[u"title"_s] == u"ZELVAN RAPORU"_s && fields.size() == 20 && values.size() == 18);
        QVERIFY(QRegularExpression(u"^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d$"_s)
                    .match(fields[u"tarih"_s].toString() + u' ' + fields[u"saat"_s].toString()).hasMatch());
        // Ten-thousandths of each amount, as the program computed it and as the sqlite3 shell does.
        const auto raw = [&values](const QString &field) { return runtime::Currency::parse(values[field].toString()).value().raw(); };
        QStringList selects, expected;
        for (const report::ReportFigure &figure : report::reportFigures()) {
            if (!figure.sql.isEmpty()) {
                selects << u"CAST(ROUND(ABS(COALESCE((%1), 0)) * 10000) AS INTEGER)"_s.arg(figure.sql);
                expected << QString::number(raw(figure.field));
            }
        }
        QVERIFY(raw(report::StockField) > 0 && expected.count(u"0"_s) <= 5);  // the demo fills nearly every figure
        if (QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty())
            QSKIP("the sqlite3 shell is not installed");
        QProcess shell;
        shell.start(u"sqlite3"_s, {u"-readonly"_s, u"-separator"_s, u" "_s, instance.filePath(u"NRV_DEMO_2026.sqlite"_s),
                                   u"SELECT "_s + selects.join(u", "_s)});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()).trimmed(), expected.join(u' '));
    }
};

QTEST_GUILESS_MAIN(TestReportRun)
#include "tst_reportrun.moc"
