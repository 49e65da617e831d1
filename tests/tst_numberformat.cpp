#include "platform/numberformat.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(zelvan::platform::Variant)

class TestNumberFormat : public QObject
{
    Q_OBJECT

private slots:
    // Dates go through formatDateTime.
    void format_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("text");
        const QString money = u"#,##0.00"_s;
        QTest::newRow("half away from zero") << Variant::dbl(0.005) << money << u"0,01"_s;
        // The double 1.005 lies below the half; its 15-digit form does not.
        QTest::newRow("double by its 15 digits") << Variant::dbl(1.005) << money << u"1,01"_s;
        QTest::newRow("no minus zero") << Variant::dbl(-0.004) << money << u"0,00"_s;
        QTest::newRow("Currency max") << Variant::currency(*Currency::parse(u"922337203685477.5807"))
                                      << money << u"922.337.203.685.477,58"_s;
        QTest::newRow("carry adds a group") << Variant::decimal(*Decimal::parse(u"999999.995"))
                                            << money << u"1.000.000,00"_s;
        QTest::newRow("no grouping") << Variant::dbl(1234.567) << u"0.00"_s << u"1234,57"_s;
        QTest::newRow("no whole digit required") << Variant::dbl(0.5) << u"#.00"_s << u",50"_s;
        QTest::newRow("optional places") << Variant::dbl(1.5) << u"0.0#"_s << u"1,5"_s;
        QTest::newRow("required place kept") << Variant::integer(1) << u"0.0#"_s << u"1,0"_s;
        QTest::newRow("large double") << Variant::dbl(1e20) << u"#,##0"_s << u"100.000.000.000.000.000.000"_s;
        QTest::newRow("numeric text") << Variant::string(u" -1234.5 "_s) << money << u"-1.234,50"_s;
        QTest::newRow("other text") << Variant::string(u"abc"_s) << money << u"abc"_s;
        QTest::newRow("Null") << Variant::null() << money << QString();
        QTest::newRow("literal around") << Variant::longInt(5) << u"(#,##0 TL)"_s << u"(5 TL)"_s;
        const QDateTime friday(QDate(2024, 3, 1), QTime(13, 5, 9));
        const QDateTime wednesday(QDate(2024, 8, 14), QTime(0, 7, 0));
        QTest::newRow("dd.MM.yyyy HH:mm:ss") << Variant::dateTime(friday) << u"dd.MM.yyyy HH:mm:ss"_s << u"01.03.2024 13:05:09"_s;
        QTest::newRow("short fields") << Variant::dateTime(QDateTime(QDate(2005, 1, 2), QTime(0, 0))) << u"d.M.yy y"_s << u"2.1.05 5"_s;
        QTest::newRow("Turkish names") << Variant::dateTime(wednesday) << u"dddd, d MMMM yyyy ddd MMM"_s
                                       << u"Çarşamba, 14 Ağustos 2024 Çar Ağu"_s;
        QTest::newRow("12 hours") << Variant::dateTime(friday) << u"hh h:mm:ss tt t"_s << u"01 1:05:09 ÖS Ö"_s;
        QTest::newRow("after midnight") << Variant::dateTime(wednesday) << u"h:m:s tt H"_s << u"12:7:0 ÖÖ 0"_s;
        QTest::newRow("quoted text") << Variant::dateTime(friday) << u"'saat dd' HH 'o''clock'"_s << u"saat dd 13 o'clock"_s;
    }
    void format()
    {
        QFETCH(Variant, value);
        QFETCH(QString, picture);
        QTEST(value.type() == Variant::Type::Date ? formatDateTime(value.toDateTime(), picture)
                                                   : formatNumber(value, picture, Separators{}),
              "text");
    }

    void separatorsAreTheWorkstations()
    {
        QCOMPARE(formatNumber(Variant::longInt(1500000), u"#,##0.00", Separators{u'.', u','}), u"1,500,000.00"_s);
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
