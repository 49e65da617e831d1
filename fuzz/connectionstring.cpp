// The ADO connection string (split as ADO splits it) and its ODBC rewrite.
#include "fuzzsupport.h"

#include "database/connectionstring.h"
#include "database/odbc/odbcconnectionstring.h"

#include <QRegularExpression>
#include <QStringList>

#include <optional>


namespace zelvan::fuzz {

using database::ConnectionString;

namespace {

// The value of `keyword` worked out directly: the last piece that names it.
std::optional<QString> lastValue(const QString &text, const QString &keyword)
{
    std::optional<QString> found;
    for (const QString &piece : text.split(u';')) {
        const qsizetype eq = piece.indexOf(u'=');
        if (eq >= 0 && piece.left(eq).trimmed().compare(keyword, Qt::CaseInsensitive) == 0)
            found = piece.mid(eq + 1);
    }
    return found;
}

void checkAdoSplit(const QString &text, const ConnectionString &parsed)
{
    QStringList rebuilt;
    for (qsizetype i = 0; i < parsed.pairs().size(); ++i) {
        const auto &[keyword, value] = parsed.pairs()[i];
        check(!keyword.isEmpty() && keyword == keyword.trimmed() && !keyword.contains(u';') && !keyword.contains(u'='),
              "a keyword is trimmed and whole", keyword);
        check(!value.contains(u';'), "a ';' ends a value", value);
        for (qsizetype j = 0; j < i; ++j)
            check(parsed.pairs()[j].first.compare(keyword, Qt::CaseInsensitive) != 0, "a keyword is kept once", keyword);
        check(lastValue(text, keyword) == value, "a keyword given twice keeps its last value", keyword);
        rebuilt.append(keyword + u'=' + value);
    }
    for (const char *keyword : {"User ID", "Password", "Initial Catalog", "Data Source"}) {
        const QString name = QString::fromLatin1(keyword);
        check(parsed.value(name) == lastValue(text, name).value_or(QString()), "a named value", name);
    }
    check(ConnectionString::parse(rebuilt.join(u';')).pairs() == parsed.pairs(), "the pairs written out read back the same");
}

// Splits an ODBC connection string as a driver does: KEY=value or
// KEY={value}; in braces ODBC's rule reads "}}" as '}', FreeTDS's ends the
// value at the first "};" (or the end of the text).
class OdbcReader
{
public:
    explicit OdbcReader(const QString &text) : m_text(text) {}

    std::optional<QString> take(const QString &keyword, bool freeTds)
    {
        if (!QStringView(m_text).sliced(m_pos).startsWith(keyword + u'='))
            return std::nullopt;
        m_pos += keyword.size() + 1;
        if (m_pos >= m_text.size() || m_text[m_pos] != u'{')
            return std::nullopt;
        ++m_pos;
        QString value;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            const bool last = m_pos + 1 == m_text.size();
            const QChar next = last ? QChar() : m_text[m_pos + 1];
            if (c == u'}' && (freeTds ? (last || next == u';') : (last || next != u'}'))) {
                m_pos += last ? 1 : 2;
                return value;
            }
            value += c;
            m_pos += (c == u'}' && !freeTds) ? 2 : 1;
        }
        return std::nullopt;
    }
    QStringView rest() const { return QStringView(m_text).sliced(std::min(m_pos, m_text.size())); }

private:
    QString m_text;
    qsizetype m_pos = 0;
};

// Microsoft's driver 18 or later, named or given by its library, and options
// that leave Encrypt unset: worked out here without the rewrite's own code.
bool encryptionMadeOptional(const database::OdbcSettings &settings)
{
    static const QRegularExpression microsoft(QStringLiteral("ODBC Driver (\\d+) for SQL Server|msodbcsql-?(\\d+)"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = microsoft.match(settings.driver);
    const QString version = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    if (!match.hasMatch() || version.toInt() < 18)
        return false;
    for (const QString &piece : settings.options.split(u';'))
        if (piece.section(u'=', 0, 0).trimmed().toLower() == u"encrypt")
            return false;
    return true;
}

void checkOdbcRewrite(const ConnectionString &ado, const database::OdbcSettings &settings)
{
    const QString odbc = database::odbcConnectionString(ado, settings);
    const bool freeTds = settings.driver.contains(u"freetds", Qt::CaseInsensitive)
        || settings.driver.contains(u"tdsodbc", Qt::CaseInsensitive);
    OdbcReader reader(odbc);
    check(reader.take(QStringLiteral("DRIVER"), false) == settings.driver, "the driver comes first, whole", odbc);
    const std::pair<const char *, QString> values[] = {{"SERVER", ado.dataSource()}, {"DATABASE", ado.initialCatalog()},
                                                       {"UID", ado.userId()}, {"PWD", ado.password()}};
    for (const auto &[keyword, value] : values) {
        // FreeTDS can't be given a value holding "};"; what follows it is lost to it.
        if (freeTds && value.contains(u"};"))
            return;
        check(reader.take(QString::fromLatin1(keyword), freeTds) == value, "a value reaches the driver whole", odbc);
    }
    QStringView rest = reader.rest();
    const QString options = settings.options;
    if (freeTds) {
        const QStringView tds = u"TDS_Version=7.4;ClientCharset=UTF-8";
        check(rest.startsWith(tds), "FreeTDS's settings follow", odbc);
        rest = rest.sliced(tds.size());
        check(rest == (options.isEmpty() || options.startsWith(u';') ? options : u';' + options),
              "the site's options end the text as they stand", odbc);
    } else {
        if (encryptionMadeOptional(settings)) {
            const QStringView optional = u"Encrypt=Optional";
            check(rest.startsWith(optional), "Microsoft's drivers from 18 on connect with encryption optional", odbc);
            rest = rest.sliced(optional.size());
            check(rest.isEmpty() || rest.startsWith(u';'), "Encrypt=Optional is a whole pair", odbc);
            rest = rest.sliced(std::min<qsizetype>(rest.size(), 1));
        }
        check(rest == (options.startsWith(u';') ? options.mid(1) : options),
              "the site's options end the text as they stand", odbc);
    }
}

} // namespace

void fuzzConnectionString(QByteArrayView data)
{
    FuzzInput input(data);
    static const QString Drivers[] = {QStringLiteral("FreeTDS"), QStringLiteral("ODBC Driver 18 for SQL Server"),
                                      QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so")};
    const int driverChoice = input.pick(4);
    database::OdbcSettings settings;
    settings.options = input.text();
    settings.driver = driverChoice < 3 ? Drivers[driverChoice] : input.text();
    const QString text = QString::fromUtf8(input.rest());

    const ConnectionString parsed = ConnectionString::parse(text);
    checkAdoSplit(text, parsed);
    checkOdbcRewrite(parsed, settings);
}

} // namespace zelvan::fuzz
