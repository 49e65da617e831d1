#include "program/commandline.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::program;
using namespace Qt::Literals::StringLiterals;

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The arguments split at blanks; the result "pdf|png|json|stock|launch", or "error".
    void parse_data()
    {
        QTest::addColumn<QString>("arguments"); QTest::addColumn<QString>("expected");
        const auto row = [](const char *arguments, QStringView expected) {
            QTest::addRow("[%s]", arguments) << QString::fromUtf8(arguments) << expected.toString();
        };
        row("", u"||0|0|"); row("DB|My Server|1|u|p", u"||0|0|DB|My Server|1|u|p");
        row("--json --pdf a.pdf --png=b.png --stock-one-pass -- DB|S|1|u|p", u"a.pdf|b.png|1|1|DB|S|1|u|p");
        row("-- --json --stock-one-pass", u"||0|0|--json --stock-one-pass"); row("-1 --json", u"||0|0|-1 --json");
        for (const char *wrong : {"--fast", "--pdf", "--pdf --json", "--png=", "--stock-one-pass=yes"}) row(wrong, u"error");
    }
    void parse()
    {
        QFETCH(QString, arguments);
        const CommandLine line = CommandLine::parse(arguments.split(u' ', Qt::SkipEmptyParts));
        const QStringList fields{line.pdfPath, line.pngPath, QString::number(line.json), QString::number(line.stockOnePass)};
        QTEST(line.error.isEmpty() ? fields.join(u'|') + u'|' + line.launchText : u"error"_s, "expected");
        QVERIFY(CommandLine::helpText().contains(u"--stock-one-pass"_s));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
