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
    // The program's one amount picture.
    void formatNumber_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("text");
        const auto f = Variant::dbl;
        QTest::newRow("half away from zero") << f(0.005) << u"0,01"_s;
        QTest::newRow("no minus zero") << f(-0.004) << u"0,00"_s;
        QTest::newRow("carry adds a group") << Variant::decimal(*Decimal::parse(u"999999.995")) << u"1.000.000,00"_s;
        QTest::newRow("numeric text") << Variant::string(u" -1234.5 "_s) << u"-1.234,50"_s;
        QTest::newRow("other text") << Variant::string(u"abc"_s) << u"abc"_s;
        QTest::newRow("Null") << Variant::null() << QString();
    }
    void formatNumber()
    {
        QFETCH(Variant, value);
        QTEST(runtime::formatNumber(value, u"#,##0.00"_s, Separators{}), "text");
    }

    void formatDateTime_data()
    {
        QTest::addColumn<QDateTime>("value");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("text");
        const QDateTime friday(QDate(2024, 3, 1), QTime(13, 5, 9));
        const QDateTime wednesday(QDate(2024, 8, 14), QTime(0, 7, 0));
        QTest::newRow("short fields") << QDateTime(QDate(2005, 1, 2), QTime(0, 0)) << u"d.M.yy y"_s << u"2.1.05 5"_s;
        QTest::newRow("Turkish names") << wednesday << u"dddd, d MMMM yyyy ddd MMM"_s << u"Çarşamba, 14 Ağustos 2024 Çar Ağu"_s;
        QTest::newRow("12 hours") << friday << u"hh h:mm:ss tt t"_s << u"01 1:05:09 ÖS Ö"_s;
        QTest::newRow("after midnight") << wednesday << u"h:m:s tt H"_s << u"12:7:0 ÖÖ 0"_s;
        QTest::newRow("quoted text") << friday << u"'saat dd' HH 'o''clock'"_s << u"saat dd 13 o'clock"_s;
    }
    void formatDateTime()
    {
        QFETCH(QDateTime, value);
        QFETCH(QString, picture);
        QTEST(runtime::formatDateTime(value, picture), "text");
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
