#include "platform/commandline.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void stockOnePass_data();
    void stockOnePass();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("pdf");
    QTest::addColumn<QString>("png");
    QTest::addColumn<bool>("json");
    QTest::addColumn<QString>("launch");
    QTest::addColumn<bool>("error");

    QTest::newRow("nothing") << QStringList() << QString() << QString() << false << QString() << false;
    QTest::newRow("launch line only") << QStringList{u"DB|S|1|u|p"_s} << QString() << QString() << false
                                      << u"DB|S|1|u|p"_s << false;
    QTest::newRow("arguments joined by one blank") << QStringList{u"DB|My"_s, u"Server|1|u|p"_s} << QString()
                                                   << QString() << false << u"DB|My Server|1|u|p"_s << false;
    QTest::newRow("outputs combine") << QStringList{u"--json"_s, u"--pdf"_s, u"a.pdf"_s, u"--png=b.png"_s, u"--"_s,
                                                    u"DB|S|1|u|p"_s}
                                     << u"a.pdf"_s << u"b.png"_s << true << u"DB|S|1|u|p"_s << false;
    QTest::newRow("-- ends options") << QStringList{u"--"_s, u"--json"_s} << QString() << QString() << false
                                     << u"--json"_s << false;
    QTest::newRow("a plain argument ends options") << QStringList{u"-1"_s, u"--json"_s} << QString() << QString()
                                                   << false << u"-1 --json"_s << false;
    QTest::newRow("unknown option") << QStringList{u"--fast"_s} << QString() << QString() << false << QString() << true;
    QTest::newRow("missing file") << QStringList{u"--pdf"_s} << QString() << QString() << false << QString() << true;
    QTest::newRow("file that is an option") << QStringList{u"--pdf"_s, u"--json"_s} << QString() << QString() << false
                                            << QString() << true;
    QTest::newRow("empty inline file") << QStringList{u"--png="_s} << QString() << QString() << false << QString()
                                       << true;
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, error);
    const CommandLine line = CommandLine::parse(arguments);
    QCOMPARE(!line.error.isEmpty(), error);
    if (error)
        return;
    QTEST(line.pdfPath, "pdf");
    QTEST(line.pngPath, "png");
    QTEST(line.json, "json");
    QTEST(line.launchText, "launch");
}

void TestCommandLine::stockOnePass_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("onePass");
    QTest::addColumn<bool>("error");

    QTest::newRow("off by default") << QStringList{u"--json"_s, u"DB|S|1|u|p"_s} << false << false;
    QTest::newRow("with other options") << QStringList{u"--json"_s, u"--stock-one-pass"_s, u"DB|S|1|u|p"_s} << true << false;
    QTest::newRow("takes no value") << QStringList{u"--stock-one-pass=yes"_s} << false << true;
    QTest::newRow("after -- it is launch text") << QStringList{u"--"_s, u"--stock-one-pass"_s} << false << false;
}

void TestCommandLine::stockOnePass()
{
    QFETCH(QStringList, arguments);
    const CommandLine line = CommandLine::parse(arguments);
    QTEST(!line.error.isEmpty(), "error");
    QTEST(line.stockOnePass, "onePass");
    QVERIFY(CommandLine::helpText().contains(u"--stock-one-pass"_s));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
