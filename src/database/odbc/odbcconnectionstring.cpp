#include "database/odbc/odbcconnectionstring.h"

#include <QRegularExpression>

namespace zelvan::database {

namespace {

bool isFreeTds(QStringView driver)
{
    // The driver's name as registered ("FreeTDS"), or its library given as a path.
    return driver.contains(u"freetds", Qt::CaseInsensitive) || driver.contains(u"tdsodbc", Qt::CaseInsensitive);
}

// Microsoft's drivers by name ("ODBC Driver 18 for SQL Server") or by their
// library (msodbcsql18.dll, libmsodbcsql-18.3.so.1.1): the major version, or 0.
int microsoftDriverVersion(const QString &driver)
{
    static const QRegularExpression name(QStringLiteral("ODBC Driver (\\d+) for SQL Server"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression library(QStringLiteral("msodbcsql-?(\\d+)"), QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatch match = name.match(driver);
    if (!match.hasMatch())
        match = library.match(driver);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool setsEncryption(const QString &options)
{
    for (const QStringView pair : QStringView(options).split(u';')) {
        if (pair.left(pair.indexOf(u'=')).trimmed().compare(u"Encrypt", Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

OdbcSettings odbcSettingsFromEnvironment()
{
    OdbcSettings settings;
    settings.driver = qEnvironmentVariable("ZELVAN_ODBC_DRIVER");
    if (settings.driver.isEmpty())
        settings.driver = defaultOdbcDriver();
    settings.options = qEnvironmentVariable("ZELVAN_ODBC_OPTIONS");
    return settings;
}

QString bracedOdbcValue(QStringView value, bool freeTds)
{
    QString braced;
    braced.reserve(value.size() + 2);
    braced += u'{';
    for (QChar ch : value) {
        braced += ch;
        if (ch == u'}' && !freeTds)
            braced += u'}';
    }
    braced += u'}';
    return braced;
}

QString odbcConnectionString(const ConnectionString &adoStyle, const OdbcSettings &settings)
{
    const bool freeTds = isFreeTds(settings.driver);
    QString text = QStringLiteral("DRIVER=") + bracedOdbcValue(settings.driver)
        + QStringLiteral(";SERVER=") + bracedOdbcValue(adoStyle.dataSource(), freeTds)
        + QStringLiteral(";DATABASE=") + bracedOdbcValue(adoStyle.initialCatalog(), freeTds)
        + QStringLiteral(";UID=") + bracedOdbcValue(adoStyle.userId(), freeTds)
        + QStringLiteral(";PWD=") + bracedOdbcValue(adoStyle.password(), freeTds);
    // FreeTDS would otherwise speak the protocol of its build defaults and hand
    // text over in the locale's character set.
    if (freeTds)
        text += QStringLiteral(";TDS_Version=7.4;ClientCharset=UTF-8");
    // Driver 18 and later encrypt and check the certificate by default, which
    // the self-signed certificate of most office servers fails; the old
    // provider connected unencrypted. A server that forces encryption still
    // gets it. A site's own Encrypt wins: ODBC takes a keyword's first value.
    else if (microsoftDriverVersion(settings.driver) >= 18 && !setsEncryption(settings.options))
        text += QStringLiteral(";Encrypt=Optional");
    if (!settings.options.isEmpty()) {
        if (!settings.options.startsWith(u';'))
            text += u';';
        text += settings.options;
    }
    return text;
}

} // namespace zelvan::database
