#include "report/activereport1.h"
#include "support/testinstance.h"
#include "support/zelvanrun.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
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
    QJsonObject m_json;      // zelvan --json --details on the demo instance
    QJsonObject m_workbook;  // its --xlsx workbook as openpyxl reads it (workbookdump.py)

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QProcess::execute(test::binaryPath(u"zelvan-demo"_s), {m_instance.path()}), 0);
        test::writeRegistry(m_registry);
        const QString xlsx = m_work.filePath(u"rapor.xlsx"_s);
        const test::ZelvanRun run = test::runZelvan({u"--json"_s, u"--details"_s, u"--xlsx"_s, xlsx, u"--"_s, m_launch},
                                                    test::runEnvironment(m_registry));
        QVERIFY2(run.exitCode == 0, run.err.constData());
        m_json = QJsonDocument::fromJson(run.out).object();
        const test::ZelvanRun dump = test::runProgram(u"/usr/bin/python3"_s, {QStringLiteral(ZELVAN_WORKBOOK_DUMP), xlsx});
        QVERIFY2(dump.exitCode == 0, dump.err.constData());  // python3-openpyxl is in tools/debian-packages.txt
        m_workbook = QJsonDocument::fromJson(dump.out).object();
        QCOMPARE(m_workbook[u"front"_s].toString(), u"ZELVAN RAPORU"_s);
        QCOMPARE(m_workbook[u"names"_s].toArray().first().toString(), u"ZELVAN RAPORU"_s);
    }

    // A figure's sheet, in page order after the page's, against the JSON details of the same run (the first, the last,
    // one without a date column, the stock's, one whose caption is longer than a sheet name): named by the caption cut
    // to 31 characters, the caption in its first cell, the header, the rows, amounts as #,##0.00 number
    // cells, dates as date cells (and ISO text in JSON), and a Toplam formula whose stored value is the figure.
    void figureSheet_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("dateColumn");  // a DATETIME column of the figure's table
        QTest::newRow("Kesilen Çekler") << u"kesilen_Cekler"_s << u"Vade"_s;
        QTest::newRow("Açık Hesaptan Alacaklılar") << u"Acık_hesaptan_Alacaklılar"_s << QString();
        QTest::newRow("Toplam Stok Değeri") << u"toplam_Stok_degeri"_s << QString();
        QTest::newRow("Hesaba Aktarılmamış POS Toplamları") << u"hesaba_aktarılmamıs_pos_toplamı"_s << u"Tarih"_s;
        QTest::newRow("Açık Hesaptaki Borçlar") << u"acık_hesaptakı_boırclar"_s << QString();
    }
    void figureSheet()
    {
        QFETCH(QString, field);
        QFETCH(QString, dateColumn);
        const qsizetype page = report::ActiveReport1::amountFieldNames().indexOf(field);
        const QJsonObject details = m_json[u"details"_s][field].toObject();
        const QJsonObject sheet = m_workbook[u"sheets"_s][page].toObject();
        const QString caption = details[u"caption"_s].toString();
        QCOMPARE(caption, report::ActiveReport1::figureCaption(field));
        QCOMPARE(m_workbook[u"names"_s][page + 1].toString(), caption.left(31));
        QCOMPARE(sheet[u"a1"_s].toString(), caption);
        QCOMPARE(sheet[u"header"_s].toArray(), details[u"columns"_s].toArray());
        const QJsonArray rows = details[u"rows"_s].toArray();
        QVERIFY(!rows.isEmpty());  // the demo has rows behind every figure
        QCOMPARE(sheet[u"rows"_s].toInt(), rows.size());
        const QString amount = QString::number(details[u"amount"_s].toInt());
        QCOMPARE(sheet[u"columns"_s][amount][u"formats"_s].toArray(), QJsonArray{u"#,##0.00"_s});
        QCOMPARE(details[u"total"_s].toString(), m_json[u"values"_s][field].toString());
        QCOMPARE(sheet[u"stored"_s].toDouble(), details[u"total"_s].toString().toDouble());
        QVERIFY(sheet[u"formula"_s].toString().startsWith(u"=ABS(SUM("_s));
        if (dateColumn.isEmpty())
            return;
        const qsizetype date = details[u"columns"_s].toArray().toVariantList().indexOf(dateColumn);
        QCOMPARE(sheet[u"columns"_s][QString::number(date)][u"kinds"_s].toArray(), QJsonArray{u"d"_s});
        const auto dated = std::find_if(rows.begin(), rows.end(), [date](const QJsonValue &row) { return row[date].isString(); });
        QVERIFY(dated != rows.end());
        QVERIFY(QRegularExpression(u"^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d$"_s).match((*dated)[date].toString()).hasMatch());
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
        QVERIFY(json[u"fields"_s][u"toplam_Stok_degeri"_s].toString() != u"0,00");  // the demo holds stock
    }

    // "-" as the file: the whole file on standard output, and no file named "-".
    void standardOutput_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("PDF") << u"--pdf"_s << "%PDF-"_ba << "%%EOF\n"_ba;
        QTest::newRow("PNG") << u"--png"_s << "\x89PNG\r\n"_ba << "IEND\xAE\x42\x60\x82"_ba;
        QTest::newRow("workbook") << u"--xlsx"_s << "PK\x03\x04"_ba << QByteArray();
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
