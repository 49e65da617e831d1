#include "runtime/numberformat.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::runtime;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(zelvan::runtime::Variant)

class TestNumberFormat : public QObject
{
    Q_OBJECT

private slots:
    // The program's one amount picture. Halves away from zero, number texts and Null are checked against Decimal
    // in the fuzz corpus replay; the figures on the page end to end.
    void formatNumber_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("text");
        const auto f = Variant::dbl;
        QTest::newRow("no minus zero") << f(-0.004) << u"0,00"_s;
        QTest::newRow("carry adds a group") << Variant::decimal(*Decimal::parse(u"999999.995")) << u"1.000.000,00"_s;
        QTest::newRow("other text") << Variant::string(u"abc"_s) << u"abc"_s;
    }
    void formatNumber()
    {
        QFETCH(Variant, value);
        QTEST(runtime::formatNumber(value, u"#,##0.00"_s, Separators{}), "text");
    }

    // A workstation's time picture in 12 hours, just after midnight. Short fields and the afternoon: tst_reportoutput.
    void formatDateTime()
    {
        const QDateTime afterMidnight(QDate(2024, 8, 14), QTime(0, 7, 0));
        QCOMPARE(runtime::formatDateTime(afterMidnight, u"h:m:s tt H"_s), u"12:7:0 ÖÖ 0"_s);
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
