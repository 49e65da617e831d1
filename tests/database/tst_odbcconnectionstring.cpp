#include "database/odbc/odbcconnectionstring.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

class TestOdbcConnectionString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Microsoft's driver before 18 encrypts only when asked: nothing is added. Values holding braces and equals signs
    // doubled as ODBC has them. FreeTDS by its library, Microsoft's driver 18 with options or without
    // (Encrypt=Optional): the fuzz corpus replay checks them against its own reading of the braces.
    void driver17()
    {
        const ConnectionString adoStyle = ConnectionString::parse(
            u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID={u}=;Password=p}w{=;Initial Catalog=D}};Data Source=SRV\\SQL"_s);
        QCOMPARE(odbcConnectionString(adoStyle, OdbcSettings{u"ODBC Driver 17 for SQL Server"_s, QString()}),
                 u"DRIVER={ODBC Driver 17 for SQL Server};SERVER={SRV\\SQL};DATABASE={D}}}}};UID={{u}}=};PWD={p}}w{=}"_s);
    }

    void environment()
    {
        qputenv("ZELVAN_ODBC_DRIVER", "ODBC Driver 17 for SQL Server");
        qputenv("ZELVAN_ODBC_OPTIONS", "Encrypt=yes");
        QCOMPARE(odbcSettingsFromEnvironment().driver, u"ODBC Driver 17 for SQL Server"_s);
        QCOMPARE(odbcSettingsFromEnvironment().options, u"Encrypt=yes"_s);
        qputenv("ZELVAN_ODBC_DRIVER", "");  // an empty driver keeps the default
        QCOMPARE(odbcSettingsFromEnvironment().driver, defaultOdbcDriver());
    }
};

QTEST_GUILESS_MAIN(TestOdbcConnectionString)
#include "tst_odbcconnectionstring.moc"
