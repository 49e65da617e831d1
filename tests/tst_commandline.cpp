#include "platform/commandline.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");  // "pdf|png|json|stock|launch", or "error"

        const QString line = u"DB|S|1|u|p"_s;
        QTest::newRow("nothing") << QStringList() << u"||0|0|"_s;
        QTest::newRow("arguments joined by one blank") << QStringList{u"DB|My"_s, u"Server|1|u|p"_s}
                                                       << u"||0|0|DB|My Server|1|u|p"_s;
        QTest::newRow("outputs combine")
            << QStringList{u"--json"_s, u"--pdf"_s, u"a.pdf"_s, u"--png=b.png"_s, u"--stock-one-pass"_s, u"--"_s, line}
            << u"a.pdf|b.png|1|1|DB|S|1|u|p"_s;
        QTest::newRow("-- ends options") << QStringList{u"--"_s, u"--json"_s, u"--stock-one-pass"_s}
                                         << u"||0|0|--json --stock-one-pass"_s;
        QTest::newRow("a plain argument ends options") << QStringList{u"-1"_s, u"--json"_s} << u"||0|0|-1 --json"_s;
        QTest::newRow("unknown option") << QStringList{u"--fast"_s} << u"error"_s;
        QTest::newRow("missing file") << QStringList{u"--pdf"_s} << u"error"_s;
        QTest::newRow("file that is an option") << QStringList{u"--pdf"_s, u"--json"_s} << u"error"_s;
        QTest::newRow("empty inline file") << QStringList{u"--png="_s} << u"error"_s;
        QTest::newRow("a switch takes no value") << QStringList{u"--stock-one-pass=yes"_s} << u"error"_s;
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        const CommandLine line = CommandLine::parse(arguments);
        const QStringList fields{line.pdfPath, line.pngPath, QString::number(line.json), QString::number(line.stockOnePass),
                                 line.launchText};
        QTEST(line.error.isEmpty() ? fields.join(u'|') : u"error"_s, "expected");
        QVERIFY(CommandLine::helpText().contains(u"--stock-one-pass"_s));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
