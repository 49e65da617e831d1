#include "platform/odbcmapping.h"

#include "support/errcheck.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(zelvan::platform::SqlServerType::Kind)

class TestOdbcMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columnTypes_data();
    void columnTypes();
    void exactNumbers_data();
    void exactNumbers();
    void dates();
    void connectErrors_data();
    void connectErrors();
    void statementErrorJoinsRecords();
};

void TestOdbcMapping::columnTypes_data()
{
    // ODBC's type codes as SQL Server's drivers report its types.
    QTest::addColumn<int>("odbcType");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<SqlServerType::Kind>("kind");
    QTest::addColumn<int>("scale");

    QTest::newRow("bit") << -7 << 0 << u"bit"_s << SqlServerType::Bit << 0;
    QTest::newRow("tinyint") << -6 << 0 << u"tinyint"_s << SqlServerType::TinyInt << 0;
    QTest::newRow("smallint") << 5 << 0 << u"smallint"_s << SqlServerType::SmallInt << 0;
    QTest::newRow("int identity") << 4 << 0 << u"int identity"_s << SqlServerType::Int << 0;
    QTest::newRow("bigint") << -5 << 0 << u"bigint"_s << SqlServerType::BigInt << 0;
    QTest::newRow("money is DECIMAL(19,4) by name") << 3 << 4 << u"money"_s << SqlServerType::Money << 0;
    QTest::newRow("smallmoney") << 3 << 4 << u"smallmoney"_s << SqlServerType::Money << 0;
    QTest::newRow("money a driver calls text") << 12 << 0 << u"MONEY"_s << SqlServerType::Money << 0;
    QTest::newRow("decimal(19,4) is no money") << 3 << 4 << u"decimal"_s << SqlServerType::Decimal << 4;
    QTest::newRow("numeric(18,2)") << 2 << 2 << u"numeric"_s << SqlServerType::Decimal << 2;
    QTest::newRow("decimal(38,38) held to 28 places") << 3 << 38 << u"decimal"_s << SqlServerType::Decimal << 28;
    QTest::newRow("float") << 6 << 0 << u"float"_s << SqlServerType::Float << 0;
    QTest::newRow("real") << 7 << 0 << u"real"_s << SqlServerType::Float << 0;
    QTest::newRow("datetime") << 93 << 3 << u"datetime"_s << SqlServerType::DateTime << 0;
    QTest::newRow("date") << 91 << 0 << u"date"_s << SqlServerType::DateTime << 0;
    QTest::newRow("char") << 1 << 0 << u"char"_s << SqlServerType::Text << 0;
    QTest::newRow("text") << -1 << 0 << u"text"_s << SqlServerType::Text << 0;
    QTest::newRow("nvarchar") << -9 << 0 << u"nvarchar"_s << SqlServerType::Text << 0;
    QTest::newRow("uniqueidentifier") << -11 << 0 << u"uniqueidentifier"_s << SqlServerType::Text << 0;
    QTest::newRow("time read as text") << -154 << 7 << u"time"_s << SqlServerType::Text << 0;
}

void TestOdbcMapping::columnTypes()
{
    QFETCH(int, odbcType);
    QFETCH(int, digits);
    QFETCH(QString, typeName);
    const SqlServerType type = odbcColumnType(odbcType, digits, typeName);
    QTEST(type.kind, "kind");
    QTEST(type.scale, "scale");
}

void TestOdbcMapping::exactNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("variantType");   // -1: not a number
    QTest::addColumn<QString>("value");     // Variant::toString()
    QTest::addColumn<int>("resultScale");

    const int money = SqlServerType::Money;
    const int decimal = SqlServerType::Decimal;
    const int cur = int(Variant::Type::Currency);
    const int dec = int(Variant::Type::Decimal);
    QTest::newRow("money") << u"1234.5678"_s << money << 0 << cur << u"1234.5678"_s << 0;
    QTest::newRow("money without a leading zero") << u"-.5000"_s << money << 0 << cur << u"-0.5"_s << 0;
    QTest::newRow("largest money") << u"922337203685477.5807"_s << money << 0 << cur << u"922337203685477.5807"_s << 0;
    QTest::newRow("decimal keeps its scale") << u"12.5"_s << decimal << 2 << dec << u"12.5"_s << 2;
    QTest::newRow("decimal without a leading zero") << u".05"_s << decimal << 2 << dec << u"0.05"_s << 2;
    QTest::newRow("decimal(38,2) at 27 digits")
        << u"1234567890123456789012345.67"_s << decimal << 2 << dec << u"1234567890123456789012345.67"_s << 2;
    QTest::newRow("beyond 28 places rounds half to even")
        << u"0.00000000000000000000000000025"_s << decimal << 28 << dec << u"0.0000000000000000000000000002"_s << 28;
    QTest::newRow("not a number") << u"abc"_s << money << 0 << -1 << QString() << 0;
    QTest::newRow("empty") << QString() << decimal << 2 << -1 << QString() << 0;
}

void TestOdbcMapping::exactNumbers()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(int, scale);
    QFETCH(int, variantType);
    SqlServerType type;
    type.kind = SqlServerType::Kind(kind);
    type.scale = scale;
    const std::optional<Variant> value = exactNumber(text, type);
    QCOMPARE(value.has_value(), variantType >= 0);
    if (!value)
        return;
    QCOMPARE(int(value->type()), variantType);
    QTEST(value->toString(), "value");
    if (value->type() == Variant::Type::Decimal)
        QTEST(value->decimalValue().scale(), "resultScale");
}

void TestOdbcMapping::dates()
{
    const std::optional<Variant> date = odbcDate(2026, 3, 1, 12, 34, 56, 789999999);
    QVERIFY(date);
    QCOMPARE(date->type(), Variant::Type::Date);
    QCOMPARE(date->doubleValue(), oleDateFrom(QDate(2026, 3, 1), QTime(12, 34, 56, 789)));
    QVERIFY(!odbcDate(2026, 2, 30, 0, 0, 0, 0));
}

void TestOdbcMapping::connectErrors_data()
{
    QTest::addColumn<QList<OdbcDiagnostic>>("records");
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QString>("text");

    const OdbcDiagnostic refused{u"28000"_s, 18456, u"[FreeTDS][SQL Server]Login failed for user 'sa'."_s};
    const OdbcDiagnostic database{u"42000"_s, 4060,
                                  u"[FreeTDS][SQL Server]Cannot open database \"YOK\" requested by the login. The login failed."_s};
    const OdbcDiagnostic unreachable{u"08S01"_s, 20009,
                                     u"[FreeTDS][SQL Server]Unable to connect: Adaptive Server is unavailable or does not exist"_s};
    const OdbcDiagnostic general{u"08001"_s, 0, u"[FreeTDS][SQL Server]Unable to connect to data source"_s};

    QTest::newRow("refused login") << QList<OdbcDiagnostic>{refused, general} << ErrNo::LoginFailed
                                   << refused.text + u'\r' + general.text;
    QTest::newRow("refused by number alone") << QList<OdbcDiagnostic>{{u"42000"_s, 18456, u"Login failed"_s}}
                                             << ErrNo::LoginFailed << u"Login failed"_s;
    QTest::newRow("missing database is no refused login") << QList<OdbcDiagnostic>{database, refused}
                                                          << ErrNo::OpenFailed << database.text + u'\r' + refused.text;
    QTest::newRow("unreachable") << QList<OdbcDiagnostic>{unreachable, general, general} << ErrNo::OpenFailed
                                 << unreachable.text + u'\r' + general.text;
    QTest::newRow("no record") << QList<OdbcDiagnostic>{} << ErrNo::OpenFailed << u"Sunucuya bağlanılamadı."_s;
}

void TestOdbcMapping::connectErrors()
{
    QFETCH(QList<OdbcDiagnostic>, records);
    const Err error = odbcConnectError(records);
    QTEST(error.number(), "number");
    QTEST(error.description(), "text");
}

void TestOdbcMapping::statementErrorJoinsRecords()
{
    const Err error = odbcStatementError({{u"42S02"_s, 208, u"Invalid object name 'YOK'."_s},
                                          {u"42000"_s, 8180, u"Statement(s) could not be prepared."_s}});
    QCOMPARE(error.number(), ErrNo::CommandFailed);
    QCOMPARE(error.description(), u"Invalid object name 'YOK'.\rStatement(s) could not be prepared."_s);
}

QTEST_GUILESS_MAIN(TestOdbcMapping)
#include "tst_odbcmapping.moc"
