#include "database/connectionstring.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::database;
using namespace Qt::Literals::StringLiterals;

class TestConnectionString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fields");  // user|password|catalog|source
        const QString head = u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;"_s;
        QTest::newRow("plain") << head + u"Password=pw;Initial Catalog=DB1;Data Source=SRV1"_s << u"sa|pw|DB1|SRV1"_s;
        QTest::newRow("empty password") << head + u"Password=;Initial Catalog=DB1;Data Source=S"_s << u"sa||DB1|S"_s;
        QTest::newRow("semicolon ends the password") << head + u"Password=a;b;Initial Catalog=DB1;Data Source=S"_s
                                                     << u"sa|a|DB1|S"_s;
        QTest::newRow("equals inside a value") << head + u"Password=a=b;Initial Catalog=D;Data Source=S"_s
                                               << u"sa|a=b|D|S"_s;
        QTest::newRow("braces kept as they stand") << head + u"Password={x};Initial Catalog=D;Data Source=S"_s
                                                   << u"sa|{x}|D|S"_s;
        QTest::newRow("password that names a keyword, last wins")
            << head + u"Password=x;Data Source=EVIL;Initial Catalog=D;Data Source=S"_s << u"sa|x|D|S"_s;
        QTest::newRow("keywords any case, blanks kept in values")
            << u"user id= sa ;PASSWORD= p ;initial catalog=D;data source= S"_s << u" sa | p |D| S"_s;
        QTest::newRow("pieces without =") << u"junk;User ID=u;;Data Source=S"_s << u"u|||S"_s;
    }
    void split()
    {
        QFETCH(QString, text);
        const ConnectionString parsed = ConnectionString::parse(text);
        QTEST(QStringList({parsed.userId(), parsed.password(), parsed.initialCatalog(), parsed.dataSource()}).join(u'|'),
              "fields");
    }
};

QTEST_GUILESS_MAIN(TestConnectionString)
#include "tst_connectionstring.moc"
