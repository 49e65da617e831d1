#include "database/odbc/odbcconnectionstring.h"

namespace zelvan::database {

namespace {

bool isFreeTds(QStringView driver)
{
    // The driver's name as registered ("FreeTDS"), or its library given as a path.
    return driver.contains(u"freetds", Qt::CaseInsensitive) || driver.contains(u"tdsodbc", Qt::CaseInsensitive);
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
    if (!settings.options.isEmpty()) {
        if (!settings.options.startsWith(u';'))
            text += u';';
        text += settings.options;
    }
    return text;
}

} // namespace zelvan::database
