#include "database/odbc/odbcmapping.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

// What a SQL Server driver reports and the SQLite ODBC driver of tst_odbcbackend can't.
class TestOdbcMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A column ("odbcType digits typeName") and a text read from it: the number as "type:text:scale",
    // nothing when it is no number, "text" for a column read as text.
    void columnTypesAndExactNumbers_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::newRow("money is DECIMAL(19,4) by name") << u"3 4 SmallMoney -.5000"_s << u"Currency:-0.5"_s;
        QTest::newRow("decimal(19,4) is no money, scale kept") << u"3 4 decimal -7"_s << u"Decimal:-7:4"_s;
        QTest::newRow("decimal(38,38) held to 28 places, half to even")
            << u"3 38 decimal 0.00000000000000000000000000025"_s << u"Decimal:0.0000000000000000000000000002:28"_s;
        QTest::newRow("not a number") << u"3 4 money abc"_s << QString();
        QTest::newRow("time read as text") << u"-154 7 time 12:00"_s << u"text"_s;
    }
    void columnTypesAndExactNumbers()
    {
        QFETCH(QString, column);
        const QStringList c = column.split(u' ');
        const SqlServerType type = odbcColumnType(c[0].toInt(), c[1].toInt(), c[2]);
        const std::optional<runtime::Variant> value = exactNumber(c[3], type);
        QString actual = type.kind == SqlServerType::Text ? u"text"_s : value ? value->typeName() + u':' + value->toString() : QString();
        if (value && type.kind == SqlServerType::Decimal)
            actual += u':' + QString::number(value->decimalValue().scale());
        QTEST(actual, "value");
    }

    // The error's number (in hex) and text from the driver's records.
    void errors()
    {
        const OdbcDiagnostic refused{u"28000"_s, 18456, u"[FreeTDS][SQL Server]Login failed for user 'sa'."_s};
        const OdbcDiagnostic database{u"42000"_s, 4060, u"Cannot open database \"YOK\" requested by the login."_s};
        const auto text = [](const runtime::Err &e) { return QString::number(quint32(e.number()), 16) + u' ' + e.description(); };
        QCOMPARE(text(odbcConnectError({{u"42000"_s, 18456, u"Login failed"_s}})), u"80040e4d Login failed"_s);
        // A database the login may not open is no refused login.
        QCOMPARE(text(odbcConnectError({database, refused})), u"80004005 "_s + database.text + u'\r' + refused.text);
        QCOMPARE(text(odbcConnectError({{u"08001"_s, 0, u" Unable to connect "_s}, {u"08S01"_s, 0, u"Unable to connect"_s}})),
                 u"80004005 Unable to connect"_s);  // a line once, trimmed
        QCOMPARE(text(odbcConnectError({})), u"80004005 Sunucuya bağlanılamadı."_s);
        QCOMPARE(text(odbcStatementError({{u"42S02"_s, 208, u"Invalid object name 'YOK'."_s}, refused})),
                 u"80040e14 Invalid object name 'YOK'.\r"_s + refused.text);
    }

    void dates()
    {
        QCOMPARE(odbcDate(2026, 3, 1, 12, 34, 56, 789999999).value_or(runtime::Variant()).doubleValue(),
                 runtime::oleDateFrom(QDate(2026, 3, 1), QTime(12, 34, 56, 789)));
        QVERIFY(!odbcDate(2026, 2, 30, 0, 0, 0, 0));
    }
};

QTEST_GUILESS_MAIN(TestOdbcMapping)
#include "tst_odbcmapping.moc"
