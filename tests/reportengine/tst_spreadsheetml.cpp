#include "reportengine/spreadsheetml.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::reportengine;
using namespace Qt::Literals::StringLiterals;
using runtime::Variant;

Q_DECLARE_METATYPE(zelvan::runtime::Variant)

class TestSpreadsheetMl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What a reader makes of a cell: its kind (t), its style (s: 2 amount,
    // 4 date, 5 date and time) and its text.
    void cell_data()
    {
        QTest::addColumn<Variant>("cell");
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("NULL: no cell") << Variant::null() << QByteArray();
        QTest::newRow("id") << Variant::longInt(-42) << R"(<c r="B3"><v>-42</v></c>)"_ba;
        QTest::newRow("money, zeros inside the places") << Variant::currency(runtime::Currency::fromRaw(-501))
                                                        << R"(<c r="B3" s="2"><v>-0.0501</v></c>)"_ba;
        QTest::newRow("double, shortest form") << Variant::dbl(0.1) << R"(<c r="B3" s="2"><v>0.1</v></c>)"_ba;
        QTest::newRow("bit") << Variant::boolean(true) << R"(<c r="B3" t="b"><v>1</v></c>)"_ba;
        QTest::newRow("date, 6 December 2026") << Variant::date(46362) << R"(<c r="B3" s="4"><v>46362</v></c>)"_ba;
        QTest::newRow("date and time") << Variant::date(46362.75) << R"(<c r="B3" s="5"><v>46362.75</v></c>)"_ba;
        QTest::newRow("text with XML's characters") << Variant::string(u"Ali & Veli <Ltd>"_s)
                                                    << R"(<c r="B3" t="inlineStr"><is><t>Ali &amp; Veli &lt;Ltd&gt;</t></is></c>)"_ba;
        QTest::newRow("blanks kept") << Variant::string(u" 12 "_s)
                                     << R"(<c r="B3" t="inlineStr"><is><t xml:space="preserve"> 12 </t></is></c>)"_ba;
        QTest::newRow("control character") << Variant::string(u"a\u0001b"_s)
                                           << R"(<c r="B3" t="inlineStr"><is><t>a_x0001_b</t></is></c>)"_ba;
    }
    void cell()
    {
        QFETCH(Variant, cell);
        QByteArray xml;
        spreadsheetml::appendCell(xml, "B3", cell, false);
        QTEST(xml, "xml");
    }

    void formula()
    {
        QByteArray xml;
        spreadsheetml::appendFormula(xml, "F9", "ABS(SUM(" + spreadsheetml::columnRange(2, 7, 5) + "))",
                                     Variant::currency(runtime::Currency::fromRaw(1234500)), spreadsheetml::Style::BoldAmount);
        QCOMPARE(xml, R"(<c r="F9" s="3"><f>ABS(SUM(F3:F8))</f><v>123.45</v></c>)"_ba);
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheetMl)
#include "tst_spreadsheetml.moc"
