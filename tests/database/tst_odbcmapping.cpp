#include "database/odbc/odbcmapping.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;
namespace ErrNo = runtime::ErrNo;

Q_DECLARE_METATYPE(QList<zelvan::database::OdbcDiagnostic>)

// What a SQL Server driver may report and the TDS test server of tst_tdsserver does not send.
class TestOdbcMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A column's ODBC type, digits and type name, and a text read from it; "none" when it is no number.
    // A Decimal keeps the column's scale, held to 28 places.
    void exactNumbers_data()
    {
        QTest::addColumn<int>("odbcType");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("typeName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        QTest::newRow("decimal(19,4) is no money") << 3 << 4 << u"decimal"_s << u"-7"_s << u"Decimal:-7"_s;
        QTest::newRow("decimal(38,38), half to even") << 3 << 38 << u"decimal"_s << u"0.00000000000000000000000000025"_s
                                                      << u"Decimal:0.0000000000000000000000000002"_s;
    }
    void exactNumbers()
    {
        QFETCH(int, odbcType);
        QFETCH(int, digits);
        QFETCH(QString, typeName);
        QFETCH(QString, text);
        const SqlServerType type = odbcColumnType(odbcType, digits, typeName);
        const std::optional<runtime::Variant> value = exactNumber(text, type);
        QTEST(value ? value->typeName() + u':' + value->toString() : u"none"_s, "value");
        if (value && value->type() == runtime::Variant::Type::Decimal)
            QCOMPARE(value->decimalValue().scale(), qMin(digits, 28));
    }

    // The error's number and text from the driver's records.
    void errors_data()
    {
        QTest::addColumn<bool>("connecting");  // else running a statement
        QTest::addColumn<QList<OdbcDiagnostic>>("records");
        QTest::addColumn<qint32>("number");
        QTest::addColumn<QString>("text");
        const OdbcDiagnostic refused{u"28000"_s, 18456, u"[FreeTDS][SQL Server]Login failed for user 'sa'."_s};
        const OdbcDiagnostic unable{u"08001"_s, 0, u" Unable to connect "_s};
        QTest::newRow("refused login by its number") << true << QList<OdbcDiagnostic>{{u"42000"_s, 18456, u"Login failed"_s}}
                                                     << ErrNo::LoginFailed << u"Login failed"_s;
        QTest::newRow("a line once, trimmed") << true << QList{unable, OdbcDiagnostic{u"08S01"_s, 0, u"Unable to connect"_s}}
                                              << ErrNo::OpenFailed << u"Unable to connect"_s;
        QTest::newRow("statement") << false << QList<OdbcDiagnostic>{{u"42S02"_s, 208, u"Invalid object name 'YOK'."_s}, refused}
                                   << ErrNo::CommandFailed << u"Invalid object name 'YOK'.\r"_s + refused.text;
    }
    void errors()
    {
        QFETCH(bool, connecting);
        QFETCH(QList<OdbcDiagnostic>, records);
        const runtime::Err error = connecting ? odbcConnectError(records) : odbcStatementError(records);
        QTEST(error.number(), "number");
        QTEST(error.description(), "text");
    }
};

QTEST_GUILESS_MAIN(TestOdbcMapping)
#include "tst_odbcmapping.moc"
