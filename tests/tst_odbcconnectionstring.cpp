#include "platform/odbcconnectionstring.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestOdbcConnectionString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rewrite_data();
    void rewrite();
    void environment_data();
    void environment();
};

namespace {
const QString Head = u"Provider=SQLOLEDB.1;Persist Security Info=False;"_s;
const QString FreeTds = u";TDS_Version=7.4;ClientCharset=UTF-8"_s;
} // namespace

void TestOdbcConnectionString::rewrite_data()
{
    QTest::addColumn<QString>("adoStyle");
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("odbc");

    const QString sa = u"User ID=sa;Password=pw;Initial Catalog=DB1;Data Source="_s;
    QTest::newRow("plain") << Head + sa + u"SRV1"_s << u"FreeTDS"_s << QString()
                           << u"DRIVER={FreeTDS};SERVER={SRV1};DATABASE={DB1};UID={sa};PWD={pw}"_s + FreeTds;
    QTest::newRow("named instance") << Head + sa + u"SRV\\SQLEXPRESS"_s << u"FreeTDS"_s << QString()
                                    << u"DRIVER={FreeTDS};SERVER={SRV\\SQLEXPRESS};DATABASE={DB1};UID={sa};PWD={pw}"_s
                                           + FreeTds;
    QTest::newRow("host and port") << Head + sa + u"10.0.0.5,1433"_s << u"FreeTDS"_s << QString()
                                   << u"DRIVER={FreeTDS};SERVER={10.0.0.5,1433};DATABASE={DB1};UID={sa};PWD={pw}"_s
                                          + FreeTds;
    QTest::newRow("semicolon ends the password as ADO splits it")
        << Head + u"User ID=sa;Password=a;b;Initial Catalog=DB1;Data Source=S"_s << u"FreeTDS"_s << QString()
        << u"DRIVER={FreeTDS};SERVER={S};DATABASE={DB1};UID={sa};PWD={a}"_s + FreeTds;
    const QString braces = Head + u"User ID={u}=;Password=p}w{=;Initial Catalog=D}};Data Source=S"_s;
    QTest::newRow("braces and equals inside values, ODBC's doubling")
        << braces << u"ODBC Driver 18 for SQL Server"_s << QString()
        << u"DRIVER={ODBC Driver 18 for SQL Server};SERVER={S};DATABASE={D}}}}};UID={{u}}=};PWD={p}}w{=}"_s;
    QTest::newRow("braces and equals inside values, FreeTDS takes them single")
        << braces << u"FreeTDS"_s << QString() << u"DRIVER={FreeTDS};SERVER={S};DATABASE={D}}};UID={{u}=};PWD={p}w{=}"_s + FreeTds;
    QTest::newRow("empty password") << Head + u"User ID=rapor;Password=;Initial Catalog=D;Data Source=S"_s
                                    << u"FreeTDS"_s << QString()
                                    << u"DRIVER={FreeTDS};SERVER={S};DATABASE={D};UID={rapor};PWD={}"_s + FreeTds;
    QTest::newRow("Turkish and blanks kept") << Head + u"User ID= ayşe ;Password=İı ;Initial Catalog=D;Data Source=S"_s
                                             << u"FreeTDS"_s << QString()
                                             << u"DRIVER={FreeTDS};SERVER={S};DATABASE={D};UID={ ayşe };PWD={İı }"_s
                                                    + FreeTds;
    QTest::newRow("Microsoft's driver needs no FreeTDS settings")
        << Head + sa + u"SRV1"_s << u"ODBC Driver 18 for SQL Server"_s << QString()
        << u"DRIVER={ODBC Driver 18 for SQL Server};SERVER={SRV1};DATABASE={DB1};UID={sa};PWD={pw}"_s;
    QTest::newRow("FreeTDS named by its library")
        << Head + sa + u"S"_s << u"/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"_s << QString()
        << u"DRIVER={/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so};SERVER={S};DATABASE={DB1};UID={sa};PWD={pw}"_s
               + FreeTds;
    QTest::newRow("site options appended as they stand")
        << Head + sa + u"S"_s << u"ODBC Driver 18 for SQL Server"_s << u"Encrypt=yes;TrustServerCertificate=no"_s
        << u"DRIVER={ODBC Driver 18 for SQL Server};SERVER={S};DATABASE={DB1};UID={sa};PWD={pw};"
           u"Encrypt=yes;TrustServerCertificate=no"_s;
    QTest::newRow("options after the FreeTDS settings, own separator kept")
        << Head + sa + u"S"_s << u"FreeTDS"_s << u";Encryption=require"_s
        << u"DRIVER={FreeTDS};SERVER={S};DATABASE={DB1};UID={sa};PWD={pw}"_s + FreeTds + u";Encryption=require"_s;
    QTest::newRow("nothing given") << QString() << u"FreeTDS"_s << QString()
                                   << u"DRIVER={FreeTDS};SERVER={};DATABASE={};UID={};PWD={}"_s + FreeTds;
}

void TestOdbcConnectionString::rewrite()
{
    QFETCH(QString, adoStyle);
    QFETCH(QString, driver);
    QFETCH(QString, options);
    QTEST(odbcConnectionString(ConnectionString::parse(adoStyle), OdbcSettings{driver, options}), "odbc");
}

void TestOdbcConnectionString::environment_data()
{
    QTest::addColumn<QByteArray>("driver");   // "-" leaves the variable unset
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<QString>("expectedDriver");
    QTest::addColumn<QString>("expectedOptions");

    QTest::newRow("unset") << "-"_ba << "-"_ba << defaultOdbcDriver() << QString();
    QTest::newRow("empty driver keeps the default") << ""_ba << ""_ba << defaultOdbcDriver() << QString();
    QTest::newRow("both set") << "ODBC Driver 17 for SQL Server"_ba << "Encrypt=yes"_ba
                              << u"ODBC Driver 17 for SQL Server"_s << u"Encrypt=yes"_s;
}

void TestOdbcConnectionString::environment()
{
    QFETCH(QByteArray, driver);
    QFETCH(QByteArray, options);
    const auto set = [](const char *name, const QByteArray &value) {
        if (value == "-")
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    set("ZELVAN_ODBC_DRIVER", driver);
    set("ZELVAN_ODBC_OPTIONS", options);
    const OdbcSettings settings = odbcSettingsFromEnvironment();
    qunsetenv("ZELVAN_ODBC_DRIVER");
    qunsetenv("ZELVAN_ODBC_OPTIONS");
    QTEST(settings.driver, "expectedDriver");
    QTEST(settings.options, "expectedOptions");
#ifdef Q_OS_WIN
    QCOMPARE(defaultOdbcDriver(), u"ODBC Driver 18 for SQL Server"_s);
#else
    QCOMPARE(defaultOdbcDriver(), u"FreeTDS"_s);
#endif
}

QTEST_GUILESS_MAIN(TestOdbcConnectionString)
#include "tst_odbcconnectionstring.moc"
