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
    // Dates go through formatDateTime.
    void format_data()
    {
        QTest::addColumn<Variant>("value"); QTest::addColumn<QString>("picture"); QTest::addColumn<QString>("text");
        const auto row = [](const char *name, const Variant &value, QStringView picture, QStringView text) {
            QTest::newRow(name) << value << picture.toString() << text.toString();
        };
        const auto f = Variant::dbl; const auto s = Variant::string;
        const QString money = u"#,##0.00"_s;
        row("half away from zero", f(0.005), money, u"0,01"); row("no minus zero", f(-0.004), money, u"0,00");
        row("carry adds a group", Variant::decimal(*Decimal::parse(u"999999.995")), money, u"1.000.000,00");
        row("no grouping", f(1234.567), u"0.00", u"1234,57"); row("no whole digit required", f(0.5), u"#.00", u",50");
        row("optional places", f(1.5), u"0.0#", u"1,5"); row("required place kept", Variant::integer(1), u"0.0#", u"1,0");
        row("numeric text", s(u" -1234.5 "_s), money, u"-1.234,50"); row("other text", s(u"abc"_s), money, u"abc");
        row("Null", Variant::null(), money, u""); row("literal around", Variant::longInt(5), u"(#,##0 TL)", u"(5 TL)");
        const Variant friday = Variant::dateTime(QDateTime(QDate(2024, 3, 1), QTime(13, 5, 9)));
        const Variant wednesday = Variant::dateTime(QDateTime(QDate(2024, 8, 14), QTime(0, 7, 0)));
        row("short fields", Variant::dateTime(QDateTime(QDate(2005, 1, 2), QTime(0, 0))), u"d.M.yy y", u"2.1.05 5");
        row("Turkish names", wednesday, u"dddd, d MMMM yyyy ddd MMM", u"Çarşamba, 14 Ağustos 2024 Çar Ağu");
        row("12 hours", friday, u"hh h:mm:ss tt t", u"01 1:05:09 ÖS Ö");
        row("after midnight", wednesday, u"h:m:s tt H", u"12:7:0 ÖÖ 0");
        row("quoted text", friday, u"'saat dd' HH 'o''clock'", u"saat dd 13 o'clock");
    }
    void format()
    {
        QFETCH(Variant, value); QFETCH(QString, picture);
        QTEST(value.type() == Variant::Type::Date ? formatDateTime(value.toDateTime(), picture)
                                                   : formatNumber(value, picture, Separators{}), "text");
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
