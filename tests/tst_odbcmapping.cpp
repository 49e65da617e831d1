#include "platform/odbcmapping.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

// What a SQL Server driver reports and the SQLite ODBC driver of tst_odbcbackend can't.
class TestOdbcMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A number of the column's type from its text, as "type:text:scale"; no text
    // when it is no number, "text" for a column read as text.
    void columnTypesAndExactNumbers_data()
    {
        QTest::addColumn<int>("odbcType");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("typeName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        QTest::newRow("money is DECIMAL(19,4) by name") << 3 << 4 << u"SmallMoney"_s << u"-.5000"_s << u"Currency:-0.5"_s;
        QTest::newRow("decimal(19,4) is no money") << 3 << 4 << u"decimal"_s << u"-7"_s << u"Decimal:-7:4"_s;
        QTest::newRow("decimal(38,38) held to 28 places, half to even")
            << 3 << 38 << u"decimal"_s << u"0.00000000000000000000000000025"_s
            << u"Decimal:0.0000000000000000000000000002:28"_s;
        QTest::newRow("not a number") << 3 << 4 << u"money"_s << u"abc"_s << QString();
        QTest::newRow("time read as text") << -154 << 7 << u"time"_s << u"12:00"_s << u"text"_s;
    }
    void columnTypesAndExactNumbers()
    {
        QFETCH(int, odbcType);
        QFETCH(int, digits);
        QFETCH(QString, typeName);
        QFETCH(QString, text);
        const SqlServerType type = odbcColumnType(odbcType, digits, typeName);
        const std::optional<Variant> value = type.kind == SqlServerType::Text ? std::nullopt : exactNumber(text, type);
        QTEST(!value ? QString(type.kind == SqlServerType::Text ? u"text"_s : QString())
                     : value->typeName() + u':' + value->toString()
                           + (value->type() == Variant::Type::Decimal
                                  ? u':' + QString::number(value->decimalValue().scale()) : QString()),
              "value");
    }

    void errors_data()
    {
        QTest::addColumn<bool>("connecting");
        QTest::addColumn<QList<OdbcDiagnostic>>("records");
        QTest::addColumn<qint32>("number");
        QTest::addColumn<QString>("text");
        const OdbcDiagnostic refused{u"28000"_s, 18456, u"[FreeTDS][SQL Server]Login failed for user 'sa'."_s};
        const OdbcDiagnostic database{u"42000"_s, 4060, u"Cannot open database \"YOK\" requested by the login."_s};
        const OdbcDiagnostic general{u"08001"_s, 0, u"[FreeTDS][SQL Server]Unable to connect to data source"_s};
        const OdbcDiagnostic unreachable{u"08S01"_s, 20009, u"Unable to connect: Adaptive Server is unavailable"_s};
        QTest::newRow("refused by number alone")
            << true << QList<OdbcDiagnostic>{{u"42000"_s, 18456, u"Login failed"_s}} << ErrNo::LoginFailed << u"Login failed"_s;
        QTest::newRow("missing database is no refused login") << true << QList<OdbcDiagnostic>{database, refused}
                                                              << ErrNo::OpenFailed << database.text + u'\r' + refused.text;
        QTest::newRow("unreachable, a line once") << true << QList<OdbcDiagnostic>{unreachable, general, general}
                                                  << ErrNo::OpenFailed << unreachable.text + u'\r' + general.text;
        QTest::newRow("no record") << true << QList<OdbcDiagnostic>{} << ErrNo::OpenFailed << u"Sunucuya bağlanılamadı."_s;
        QTest::newRow("statement") << false
                                   << QList<OdbcDiagnostic>{{u"42S02"_s, 208, u"Invalid object name 'YOK'."_s}, refused}
                                   << ErrNo::CommandFailed << u"Invalid object name 'YOK'.\r"_s + refused.text;
    }
    void errors()
    {
        QFETCH(bool, connecting);
        QFETCH(QList<OdbcDiagnostic>, records);
        const Err error = connecting ? odbcConnectError(records) : odbcStatementError(records);
        QTEST(error.number(), "number");
        QTEST(error.description(), "text");
    }

    void dates()
    {
        const std::optional<Variant> date = odbcDate(2026, 3, 1, 12, 34, 56, 789999999);
        QCOMPARE(date.value_or(Variant()).doubleValue(), oleDateFrom(QDate(2026, 3, 1), QTime(12, 34, 56, 789)));
        QVERIFY(!odbcDate(2026, 2, 30, 0, 0, 0, 0));
    }
};

QTEST_GUILESS_MAIN(TestOdbcMapping)
#include "tst_odbcmapping.moc"
