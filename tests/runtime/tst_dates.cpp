#include "runtime/dates.h"

#include <QTest>

using namespace zelvan::runtime;
using namespace Qt::Literals::StringLiterals;

class TestDates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The same text in the two forms: a user's or a Variant's, and what the embedded instance stores.
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("runtime");  // "yyyy-MM-dd HH:mm:ss.zzz"; empty when refused
        QTest::addColumn<QString>("stored");
        const auto row = [](const char *name, const QString &text, const QString &runtime, const QString &stored) {
            QTest::newRow(name) << text << runtime << stored;
        };
        row("date alone", u"2024-03-01"_s, u"2024-03-01 00:00:00.000"_s, u"2024-03-01 00:00:00.000"_s);
        row("time after a T, half a second", u"2024-03-01T14:05:09.5"_s, u"2024-03-01 14:05:09.500"_s, u"2024-03-01 14:05:09.500"_s);
        row("no seconds", u"2024-03-01 14:05"_s, QString(), u"2024-03-01 14:05:00.000"_s);
        row("digits beyond milliseconds", u"2024-03-01 14:05:09.1239"_s, QString(), u"2024-03-01 14:05:09.123"_s);
        row("blanks around", u" \t2024-03-01 14:05:09\n"_s, u"2024-03-01 14:05:09.000"_s, QString());
        row("day first", u"01.03.2024 14:05:09"_s, u"2024-03-01 14:05:09.000"_s, QString());
        row("no such day", u"2023-02-29"_s, QString(), QString());
    }
    void parse()
    {
        QFETCH(QString, text);
        const auto read = [&text](DateTextForm form) {
            const std::optional<double> date = parseDateText(text, form);
            return date ? dateTimeFromOleDate(*date).toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s) : QString();
        };
        QTEST(read(DateTextForm::Runtime), "runtime");
        QTEST(read(DateTextForm::Stored), "stored");
    }
};

QTEST_GUILESS_MAIN(TestDates)
#include "tst_dates.moc"
