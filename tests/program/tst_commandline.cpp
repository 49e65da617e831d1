#include "program/commandline.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::program;
using namespace Qt::Literals::StringLiterals;

// The arguments are written as a shell line, split at blanks. An unknown option, --help and each output to
// standard output run end to end.
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void accepted_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<QString>("png");
        QTest::addColumn<QString>("xlsx");
        QTest::addColumn<bool>("json");
        QTest::addColumn<bool>("details");
        QTest::addColumn<bool>("stockOnePass");
        QTest::addColumn<bool>("help");
        QTest::addColumn<QString>("launchText");
        const QString none;
        QTest::newRow("parameters joined by one blank") << u"DB|My  Server|1|u|p"_s << none << none << none << false << false << false
                                                        << false << u"DB|My Server|1|u|p"_s;
        QTest::newRow("every option") << u"--details --json --pdf a.pdf --png=b.png --xlsx c.xlsx --stock-one-pass -- DB|S|1|u|p"_s
                                      << u"a.pdf"_s << u"b.png"_s << u"c.xlsx"_s << true << true << true << false << u"DB|S|1|u|p"_s;
        QTest::newRow("options after --") << u"-- --json --stock-one-pass"_s << none << none << none << false << false << false << false
                                          << u"--json --stock-one-pass"_s;
        QTest::newRow("-1 ends the options") << u"-1 --json"_s << none << none << none << false << false << false << false
                                             << u"-1 --json"_s;
        QTest::newRow("-h") << u"-h"_s << none << none << none << false << false << false << true << none;
    }
    void accepted()
    {
        QFETCH(QString, arguments);
        const CommandLine line = CommandLine::parse(arguments.split(u' ', Qt::SkipEmptyParts));
        QCOMPARE(line.error, QString());
        QTEST(line.pdfPath, "pdf");
        QTEST(line.pngPath, "png");
        QTEST(line.xlsxPath, "xlsx");
        QTEST(line.json, "json");
        QTEST(line.details, "details");
        QTEST(line.stockOnePass, "stockOnePass");
        QTEST(line.help, "help");
        QTEST(line.launchText, "launchText");
    }

    void refused_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::newRow("no file after --pdf") << u"--pdf"_s;
        QTest::newRow("an option as the file") << u"--pdf --json"_s;
        QTest::newRow("empty file") << u"--png="_s;
        QTest::newRow("a value for a switch") << u"--stock-one-pass=yes"_s;
        QTest::newRow("JSON and PDF both to standard output") << u"--json --pdf -"_s;
        QTest::newRow("details without JSON") << u"--details --xlsx c.xlsx"_s;
    }
    void refused()
    {
        QFETCH(QString, arguments);
        QVERIFY(!CommandLine::parse(arguments.split(u' ')).error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
