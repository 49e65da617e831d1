#include "platform/currency.h"
#include "report/detailformat.h"
#include "support/popplertools.h"
#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
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

    QTemporaryDir m_instance;
    QTemporaryDir m_work;
    QByteArray m_digest;

private Q_SLOTS:
    void initTestCase()
    {
        QProcess demo;
        demo.start(test::binaryPath(u"zelvan-demo"_s), {m_instance.path()});
        QVERIFY(demo.waitForFinished(300000));
        QCOMPARE(demo.exitCode(), 0);
        m_digest = test::directoryDigest(m_instance.path());
        test::writeRegistry(m_work.filePath(u"registry.reg"_s));
    }

    // One run writes the JSON, the PDF and the PNG and leaves the instance as it was; the JSON's amounts
    // are the database's sums.
    void jsonPdfAndPng()
    {
        const QString pdf = m_work.filePath(u"rapor.pdf"_s);
        const QString png = m_work.filePath(u"rapor.png"_s);
        const test::ZelvanRun result = test::runZelvan({u"--json"_s, u"--pdf"_s, pdf, u"--png"_s, png, u"--"_s,
                                                        u"NRV_DEMO_2026|%1|1|norvent|Zelvan2026"_s.arg(m_instance.path())},
                                                       test::runEnvironment(m_work.filePath(u"registry.reg"_s)));
        QVERIFY2(!result.crashed && result.exitCode == 0 && result.messages.isEmpty(), result.err.constData());
        QCOMPARE(test::directoryDigest(m_instance.path()), m_digest);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(5), QByteArray("%PDF-"));
        if (test::popplerAvailable())
            QVERIFY(test::runPoppler(u"pdftotext"_s, {pdf, u"-"_s}).contains(u"ZELVAN RAPORU"_s));
        QImageReader image(png);
        QCOMPARE(image.format(), QByteArray("png"));
        QCOMPARE(image.size(), QSize(1275, 1650));

        const QJsonObject json = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(json.value(u"title"_s).toString(), u"ZELVAN RAPORU"_s);
        const QJsonObject fields = json.value(u"fields"_s).toObject();
        const QJsonObject values = json.value(u"values"_s).toObject();
        QCOMPARE((QList<qsizetype>{fields.size(), values.size()}), (QList<qsizetype>{20, 18}));
        QVERIFY(QRegularExpression(u"^\\d\\d\\.\\d\\d\\.\\d{4}$"_s).match(fields.value(u"tarih"_s).toString()).hasMatch());
        QVERIFY(QRegularExpression(u"^\\d\\d:\\d\\d:\\d\\d$"_s).match(fields.value(u"saat"_s).toString()).hasMatch());
        // Ten-thousandths of each amount.
        QHash<QString, qint64> raw;
        for (auto it = values.begin(); it != values.end(); ++it) {
            const auto amount = platform::Currency::parse(it.value().toString());
            raw.insert(it.key(), amount ? amount->raw() : std::numeric_limits<qint64>::min());
        }
        qint64 sides[2] = {0, 0};
        for (const ReportFigure &figure : reportFigures())
            sides[figure.rightColumn] += raw[figure.field];
        QCOMPARE((QList<qint64>{raw[LeftTotalField], raw[RightTotalField]}), (QList<qint64>{sides[0], sides[1]}));
        QVERIFY(raw[u"toplam_Stok_degeri"_s] > 0);

        if (QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty())
            QSKIP("the sqlite3 shell is not installed");
        // The figures' own queries, as the shell computes them, in ten-thousandths.
        QStringList selects, expected;
        for (const ReportFigure &figure : reportFigures()) {
            if (!figure.sql.isEmpty()) {
                selects << u"CAST(ROUND(ABS(COALESCE((%1), 0)) * 10000) AS INTEGER)"_s.arg(figure.sql);
                expected << QString::number(raw[figure.field]);
            }
        }
        QProcess shell;
        shell.start(u"sqlite3"_s, {u"-readonly"_s, u"-separator"_s, u" "_s,
                                   QDir(m_instance.path()).filePath(u"NRV_DEMO_2026.sqlite"_s), u"SELECT "_s + selects.join(u", "_s)});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()).trimmed(), expected.join(u' '));
        QVERIFY(expected.count(u"0"_s) <= 5);   // the demo fills nearly every figure
    }
};

QTEST_GUILESS_MAIN(TestReportRun)
#include "tst_reportrun.moc"
