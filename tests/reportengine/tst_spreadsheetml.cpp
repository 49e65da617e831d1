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
    void columnName_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("first") << 0 << "A"_ba;
        QTest::newRow("last of one letter") << 25 << "Z"_ba;
        QTest::newRow("first of two letters") << 26 << "AA"_ba;
        QTest::newRow("last of two letters") << 701 << "ZZ"_ba;
        QTest::newRow("first of three letters") << 702 << "AAA"_ba;
        QTest::newRow("last a sheet has") << 16383 << "XFD"_ba;
    }
    void columnName()
    {
        QFETCH(int, column);
        QTEST(spreadsheetml::columnName(column), "name");
    }

    // What a reader makes of a cell: its kind (t), its style (s: 2 amount,
    // 3 bold amount, 4 date, 5 date and time, 6 time) and its text.
    void cell_data()
    {
        const auto ole = [](int y, int m, int d) { return Variant::date(double(QDate(1899, 12, 30).daysTo(QDate(y, m, d)))); };
        QTest::addColumn<Variant>("cell");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("NULL: no cell") << Variant::null() << false << QByteArray();
        QTest::newRow("id") << Variant::longInt(-42) << false << R"(<c r="B3"><v>-42</v></c>)"_ba;
        QTest::newRow("money, exact") << Variant::currency(runtime::Currency::fromRaw(-12345678)) << false
                                      << R"(<c r="B3" s="2"><v>-1234.5678</v></c>)"_ba;
        QTest::newRow("money, zeros inside the places") << Variant::currency(runtime::Currency::fromRaw(-501)) << false
                                                        << R"(<c r="B3" s="2"><v>-0.0501</v></c>)"_ba;
        QTest::newRow("money, bold") << Variant::currency(runtime::Currency::fromRaw(10000)) << true
                                     << R"(<c r="B3" s="3"><v>1</v></c>)"_ba;
        QTest::newRow("double, shortest form") << Variant::dbl(0.1) << false << R"(<c r="B3" s="2"><v>0.1</v></c>)"_ba;
        QTest::newRow("bit") << Variant::boolean(true) << false << R"(<c r="B3" t="b"><v>1</v></c>)"_ba;
        QTest::newRow("date") << ole(2026, 12, 6) << false << R"(<c r="B3" s="4"><v>46362</v></c>)"_ba;
        QTest::newRow("date and time") << Variant::date(46362.75) << false << R"(<c r="B3" s="5"><v>46362.75</v></c>)"_ba;
        QTest::newRow("time alone") << Variant::date(0.5) << false << R"(<c r="B3" s="6"><v>0.5</v></c>)"_ba;
        QTest::newRow("28 Feb 1900, before the day that never was") << ole(1900, 2, 28) << false
                                                                  << R"(<c r="B3" s="4"><v>59</v></c>)"_ba;
        QTest::newRow("1 Mar 1900, after it") << ole(1900, 3, 1) << false << R"(<c r="B3" s="4"><v>61</v></c>)"_ba;
        QTest::newRow("1 Jan 1900, the first day") << ole(1900, 1, 1) << false << R"(<c r="B3" s="4"><v>1</v></c>)"_ba;
        QTest::newRow("31 Dec 1899: text") << ole(1899, 12, 31) << false
                                          << R"(<c r="B3" t="inlineStr"><is><t>31.12.1899</t></is></c>)"_ba;
        QTest::newRow("text with XML's characters") << Variant::string(u"Ali & Veli <Ltd>"_s) << false
                                                    << R"(<c r="B3" t="inlineStr"><is><t>Ali &amp; Veli &lt;Ltd&gt;</t></is></c>)"_ba;
        QTest::newRow("bold text") << Variant::string(u"Toplam"_s) << true
                                   << R"(<c r="B3" s="1" t="inlineStr"><is><t>Toplam</t></is></c>)"_ba;
        QTest::newRow("blanks kept") << Variant::string(u" 12 "_s) << false
                                     << R"(<c r="B3" t="inlineStr"><is><t xml:space="preserve"> 12 </t></is></c>)"_ba;
        QTest::newRow("control character") << Variant::string(u"a\u0001b"_s) << false
                                           << R"(<c r="B3" t="inlineStr"><is><t>a_x0001_b</t></is></c>)"_ba;
        QTest::newRow("text that looks escaped") << Variant::string(u"_x0041_"_s) << false
                                                 << R"(<c r="B3" t="inlineStr"><is><t>_x005F_x0041_</t></is></c>)"_ba;
        QTest::newRow("text beyond a cell's 32767 characters")
            << Variant::string(QString(40000, u'a')) << false
            << R"(<c r="B3" t="inlineStr"><is><t>)" + QByteArray(32767, 'a') + "</t></is></c>";
    }
    void cell()
    {
        QFETCH(Variant, cell);
        QFETCH(bool, bold);
        QByteArray xml;
        spreadsheetml::appendCell(xml, "B3", cell, bold);
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
