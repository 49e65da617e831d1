#include "runtime/asciitext.h"

#include <QTest>

using namespace zelvan::runtime;
using namespace Qt::Literals::StringLiterals;

class TestAsciiText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trim_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("spaces");
        QTest::addColumn<QString>("spacesAndTabs");
        QTest::newRow("tabs") << u"\t a \t"_s << u"\t a \t"_s << u"a"_s;
        QTest::newRow("line breaks and no-break spaces stay") << u"\n a\u00a0"_s << u"\n a\u00a0"_s << u"\n a\u00a0"_s;
        QTest::newRow("blanks only") << u" \t "_s << u"\t"_s << QString();
    }
    void trim()
    {
        QFETCH(QString, text);
        QTEST(trimBlanks(text, Blanks::Spaces).toString(), "spaces");
        QTEST(trimBlanks(text, Blanks::SpacesAndTabs).toString(), "spacesAndTabs");
    }

    // Only A to Z change case: the Turkish İ and ı stay as they are.
    void letterCase_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<bool>("equal");
        QTest::newRow("ASCII") << u"Defination_DB"_s << u"DEFINATION_db"_s << u"defination_db"_s << true;
        QTest::newRow("Turkish letters") << u"İSTANBUL"_s << u"istanbul"_s << u"İstanbul"_s << false;
        QTest::newRow("dotless i") << u"fırma"_s << u"FIRMA"_s << u"fırma"_s << false;
        QTest::newRow("lengths differ") << u"dbo"_s << u"DBO "_s << u"dbo"_s << false;
    }
    void letterCase()
    {
        QFETCH(QString, text);
        QFETCH(QString, other);
        QTEST(toAsciiLower(text), "lower");
        QTEST(equalsAsciiCaseInsensitive(text, other), "equal");
    }
};

QTEST_GUILESS_MAIN(TestAsciiText)
#include "tst_asciitext.moc"
