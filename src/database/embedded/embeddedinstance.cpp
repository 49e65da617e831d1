#include "database/embedded/embeddedinstance.h"

#include "database/embedded/exactsum.h"
#include "database/embedded/selectlist.h"
#include "database/embedded/sqlnames.h"
#include "database/sqlservertypes.h"
#include "runtime/asciitext.h"
#include "runtime/dates.h"
#include "runtime/err.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QUrl>

#include <sqlite3.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelvan::database {

namespace {

// The SQLite handle, shared by the back end and its open cursors so that a
// cursor never outlives the connection it reads from.
struct Handle
{
    sqlite3 *db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
};

QString sqliteMessage(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// SQL Server waits for a writer's lock, and the suite holds one for a moment
// while it saves a sale. Ten seconds lets it finish, and still ends the wait
// for a lock that is never given back.
constexpr int LockWaitMilliseconds = 10000;

// A database in write-ahead-log mode (format version 2 in byte 19 of the
// header) whose log is missing or empty has every committed page in the file.
// Opened as usual, SQLite would create -wal and -shm files beside it, and
// could not read it at all where the user may not write; as immutable it
// needs neither. A log with pages in it holds rows a writer has committed but
// not yet copied into the file: then the file is opened as usual, read-only,
// sharing the writer's files, so that the report sees what the suite saved.
// A writer that starts while the report reads writes to its new log and
// copies it into the file only when the log grows long or the writer ends.
bool readsAsImmutable(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(20);
    if (header.size() < 20 || header.at(19) != 2)
        return false;
    const QFileInfo log(path + QStringLiteral("-wal"));
    return !log.exists() || log.size() == 0;
}

QString uriFor(const QString &path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
        + (readsAsImmutable(path) ? QStringLiteral("?mode=ro&immutable=1") : QStringLiteral("?mode=ro"));
}

// The file of a database of the instance, matched without regard to letter case.
QString databaseFile(const QString &instanceDir, const QString &database)
{
    const QDir dir(instanceDir);
    const QStringList files = dir.entryList(QDir::Files | QDir::Readable);
    for (const QString &file : files) {
        if (!file.endsWith(QStringLiteral(".sqlite"), Qt::CaseInsensitive))
            continue;
        if (runtime::equalsAsciiCaseInsensitive(QStringView(file).chopped(7), database))
            return dir.filePath(file);
    }
    return {};
}

runtime::Err cannotOpenDatabase(const QString &database)
{
    return runtime::Err(runtime::ErrNo::OpenFailed,
               QStringLiteral(u"Cannot open database \"%1\" requested by the login. The login failed.").arg(database));
}

runtime::Err unusableFile(const QString &database, const QString &file, const QString &reason)
{
    return runtime::Err(runtime::ErrNo::OpenFailed,
               QStringLiteral(u"\"%1\" veritabanı açılamadı: %2: %3").arg(database, QDir::toNativeSeparators(file), reason));
}

// Opens a database file read-only and makes sure it really is one.
sqlite3 *openReadOnly(const QString &database, const QString &file)
{
    if (QFileInfo(file).size() == 0)
        throw unusableFile(database, file, QStringLiteral(u"dosya boş"));
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(uriFor(file).toUtf8().constData(), &db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_OK) {
        // Before the first read; databases attached later wait as long, the wait being the connection's.
        sqlite3_busy_timeout(db, LockWaitMilliseconds);
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const QString reason = db ? sqliteMessage(db) : QStringLiteral("out of memory");
        sqlite3_close_v2(db);
        throw unusableFile(database, file, reason);
    }
    return db;
}

void checkLogin(const QString &instanceDir, const QString &user, const QString &password)
{
    const runtime::Err refused(runtime::ErrNo::LoginFailed, QStringLiteral(u"Login failed for user '%1'.").arg(user));
    const QString file = databaseFile(instanceDir, QStringLiteral("master"));
    if (file.isEmpty())
        throw refused;
    Handle master;
    master.db = openReadOnly(QStringLiteral("master"), file);

    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(master.db, "SELECT name, salt, password_sha256 FROM sql_logins ORDER BY rowid", -1, &stmt,
                           nullptr)
        != SQLITE_OK) {
        throw unusableFile(QStringLiteral("master"), file, sqliteMessage(master.db));
    }
    bool accepted = false;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        if (!runtime::equalsAsciiCaseInsensitive(name, user))
            continue;
        const QByteArray salt(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)));
        const QByteArray expected(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 2)));
        const QByteArray actual = QCryptographicHash::hash(salt + password.toUtf8(), QCryptographicHash::Sha256).toHex();
        accepted = actual == expected.toLower();
        break;  // the first matching login counts
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw unusableFile(QStringLiteral("master"), file, sqliteMessage(master.db));
    if (!accepted)
        throw refused;
}

// An error of the engine, worded as SQL Server words the common ones;
// `summed` is the type of the column the statement sums, if any.
runtime::Err commandError(sqlite3 *db, const ThreePartRewrite *rewrite = nullptr, SqlServerType summed = {})
{
    QString message = withSummedType(sqliteMessage(db), summed);
    if (message.startsWith(QStringLiteral("no such table: "))) {
        QString name = message.mid(15);
        if (rewrite)
            name = rewrite->originalName(name);
        if (name.startsWith(QStringLiteral("main.")))
            name = name.mid(5);
        return runtime::Err(qint32(0x80040E37), QStringLiteral(u"Invalid object name '%1'.").arg(name));
    }
    if (message.startsWith(QStringLiteral("no such column: ")))
        return runtime::Err(runtime::ErrNo::CommandFailed, QStringLiteral(u"Invalid column name '%1'.").arg(message.mid(16)));
    const int code = sqlite3_errcode(db) & 0xFF;
    if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB || code == SQLITE_IOERR || code == SQLITE_CANTOPEN)
        return runtime::Err(runtime::ErrNo::OpenFailed, QStringLiteral(u"Veritabanı dosyası okunamıyor: ") + message);
    return runtime::Err(runtime::ErrNo::CommandFailed, message);
}

// --- values ------------------------------------------------------------------

QString textOf(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
}

using runtime::Variant;
// A whole number as Long, or as Decimal beyond Long's range.
Variant longOrDecimal(qint64 value)
{
    if (value >= INT32_MIN && value <= INT32_MAX)
        return Variant::longInt(qint32(value));
    return Variant::decimal(runtime::Decimal::fromInt64(value));
}

// BIT: a number, or the text "true" or "false".
Variant bitValue(sqlite3_stmt *stmt, int column, int storage)
{
    if (storage == SQLITE_TEXT) {
        const QString text = textOf(stmt, column).trimmed();
        if (text.compare(u"true", Qt::CaseInsensitive) == 0)
            return Variant::boolean(true);
        if (text.compare(u"false", Qt::CaseInsensitive) == 0)
            return Variant::boolean(false);
    }
    return Variant::boolean(sqlite3_column_double(stmt, column) != 0);
}

// TINYINT and SMALLINT as Byte and Integer while the value fits them.
std::optional<Variant> integerValue(sqlite3_stmt *stmt, int column, int storage, SqlServerType::Kind kind)
{
    if (storage != SQLITE_INTEGER)
        return std::nullopt;
    const qint64 v = sqlite3_column_int64(stmt, column);
    if (kind == SqlServerType::TinyInt && v >= 0 && v <= 255)
        return Variant::byte(quint8(v));
    if (kind == SqlServerType::SmallInt && v >= -32768 && v <= 32767)
        return Variant::integer(qint16(v));
    return longOrDecimal(v);
}

std::optional<Variant> moneyValue(sqlite3_stmt *stmt, int column, int storage)
{
    if (storage == SQLITE_INTEGER)
        return Variant::currency(runtime::Currency::fromInt(sqlite3_column_int64(stmt, column)));
    if (storage == SQLITE_FLOAT)
        return Variant::currency(runtime::currencyFromDouble(sqlite3_column_double(stmt, column)));
    if (storage == SQLITE_TEXT) {
        if (const auto value = runtime::Currency::parse(textOf(stmt, column)))
            return Variant::currency(*value);
    }
    return std::nullopt;
}

// SQL Server hands a DECIMAL out with its declared scale.
std::optional<Variant> decimalValue(sqlite3_stmt *stmt, int column, int storage, int scale)
{
    std::optional<runtime::Decimal> value;
    if (storage == SQLITE_INTEGER)
        value = runtime::Decimal::fromInt64(sqlite3_column_int64(stmt, column));
    else if (storage == SQLITE_FLOAT)
        value = runtime::Decimal::fromDouble(sqlite3_column_double(stmt, column));
    else if (storage == SQLITE_TEXT)
        value = runtime::Decimal::parse(textOf(stmt, column));
    if (!value)
        return std::nullopt;
    runtime::Decimal scaled = value->rounded(scale);
    if (scaled.scale() < scale)
        scaled = scaled + runtime::Decimal::fromParts(false, 0, 0, scale);
    return Variant::decimal(scaled);
}

// DATETIME: the text SQLite's date functions write. Each byte is taken as
// one character: only ASCII makes a date, so the text need not be decoded.
std::optional<Variant> dateTimeValue(sqlite3_stmt *stmt, int column, int storage)
{
    if (storage != SQLITE_TEXT)
        return std::nullopt;
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    const QString text = QString::fromLatin1(bytes, sqlite3_column_bytes(stmt, column));
    if (const std::optional<double> date = runtime::parseDateText(text, runtime::DateTextForm::Stored))
        return Variant::date(*date);
    return std::nullopt;
}

// A value as SQL Server gives it for a column of the given type; nullopt
// when the stored value is nothing that type can hold.
std::optional<Variant> typedValue(sqlite3_stmt *stmt, int column, SqlServerType type, int storage)
{
    switch (type.kind) {
    case SqlServerType::Bit:
        return bitValue(stmt, column, storage);
    case SqlServerType::TinyInt:
    case SqlServerType::SmallInt:
    case SqlServerType::Int:
        return integerValue(stmt, column, storage, type.kind);
    case SqlServerType::BigInt:
        if (storage == SQLITE_INTEGER)
            return Variant::decimal(runtime::Decimal::fromInt64(sqlite3_column_int64(stmt, column)));
        break;
    case SqlServerType::Money:
        return moneyValue(stmt, column, storage);
    case SqlServerType::Decimal:
        return decimalValue(stmt, column, storage, type.scale);
    case SqlServerType::Float:
        if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
            return Variant::dbl(sqlite3_column_double(stmt, column));
        break;
    case SqlServerType::DateTime:
        return dateTimeValue(stmt, column, storage);
    case SqlServerType::Text:
        return Variant::string(textOf(stmt, column));
    case SqlServerType::Unknown:
        break;
    }
    return std::nullopt;
}

// A value of a column without a declared type, or one that its column's
// type can't hold: the storage class decides.
Variant readValue(sqlite3_stmt *stmt, int column, SqlServerType type)
{
    const int storage = sqlite3_column_type(stmt, column);
    if (storage == SQLITE_NULL)
        return Variant::null();
    if (std::optional<Variant> value = typedValue(stmt, column, type, storage))
        return std::move(*value);
    switch (storage) {
    case SQLITE_INTEGER:
        return longOrDecimal(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT:
        return Variant::dbl(sqlite3_column_double(stmt, column));
    default:
        return Variant::string(textOf(stmt, column));
    }
}

// --- cursor ------------------------------------------------------------------

// The types of a statement's result columns, and the type of the first SUM's.
struct ResultTypes
{
    std::vector<SqlServerType> columns;
    SqlServerType summed;
    std::vector<int> intSums;  // columns that SUM an INT: SQL Server's sum is an INT too
};

class EmbeddedCursor : public DbCursor
{
public:
    EmbeddedCursor(std::shared_ptr<Handle> handle, sqlite3_stmt *stmt, ResultTypes types)
        : m_handle(std::move(handle))
        , m_stmt(stmt)
        , m_types(std::move(types.columns))
        , m_summed(types.summed)
        , m_intSums(std::move(types.intSums))
    {
        const int count = sqlite3_column_count(m_stmt);
        m_names.reserve(count);
        for (int i = 0; i < count; ++i)
            m_names.append(QString::fromUtf8(sqlite3_column_name(m_stmt, i)));
    }

    ~EmbeddedCursor() override { sqlite3_finalize(m_stmt); }

    int columnCount() const override { return int(m_names.size()); }
    QString columnName(int column) const override { return m_names.value(column); }
    SqlServerType columnType(int column) const override
    {
        return column >= 0 && column < columnCount() ? m_types[size_t(column)] : SqlServerType();
    }

    bool fetch(std::vector<runtime::Variant> &row) override
    {
        if (m_done)
            return false;
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_DONE) {
            m_done = true;
            return false;
        }
        if (rc != SQLITE_ROW) {
            m_done = true;
            throw commandError(m_handle->db, nullptr, m_summed);
        }
        const int count = int(m_names.size());
        row.resize(size_t(count));
        for (int i = 0; i < count; ++i)
            row[size_t(i)] = readValue(m_stmt, i, m_types[size_t(i)]);
        for (const int column : m_intSums) {
            if (row[size_t(column)].type() == Variant::Type::Decimal) {
                m_done = true;
                throw runtime::Err(runtime::ErrNo::CommandFailed, sumOverflowText(m_types[size_t(column)]));
            }
        }
        return true;
    }

private:
    std::shared_ptr<Handle> m_handle;
    sqlite3_stmt *m_stmt;
    std::vector<SqlServerType> m_types;
    SqlServerType m_summed;
    std::vector<int> m_intSums;
    QStringList m_names;
    bool m_done = false;
};

// --- back end ----------------------------------------------------------------

struct ColumnRead
{
    QString table;
    QString column;
    QString schema;
};

class EmbeddedBackend : public DbBackend
{
public:
    EmbeddedBackend(std::shared_ptr<Handle> handle, QString instanceDir, QString database)
        : m_handle(std::move(handle))
        , m_instanceDir(std::move(instanceDir))
        , m_database(std::move(database))
    {
    }

    std::unique_ptr<DbCursor> execute(const QString &sql) override
    {
        const ThreePartRewrite rewritten = rewriteThreePartNames(sql, m_database);
        for (const QString &database : rewritten.databases)
            attach(database);

        const QByteArray text = rewritten.sql.toUtf8();
        sqlite3_stmt *stmt = prepare(text, rewritten, false);
        if (!sqlite3_stmt_readonly(stmt)) {
            sqlite3_finalize(stmt);
            throw runtime::Err(runtime::ErrNo::CommandFailed, QStringLiteral(u"Bu program veritabanına yazmaz."));
        }
        // Only a computed column needs to know which columns the statement
        // reads; watching every read costs time, so it is done on demand.
        if (hasComputedColumn(stmt)) {
            sqlite3_finalize(stmt);
            stmt = prepare(text, rewritten, true);
        }
        return std::make_unique<EmbeddedCursor>(m_handle, stmt, resultTypes(stmt, sql));
    }

private:
    sqlite3_stmt *prepare(const QByteArray &text, const ThreePartRewrite &rewritten, bool watchReads)
    {
        m_reads.clear();
        if (watchReads)
            sqlite3_set_authorizer(m_handle->db, &EmbeddedBackend::authorize, this);
        sqlite3_stmt *stmt = nullptr;
        const int rc = sqlite3_prepare_v2(m_handle->db, text.constData(), int(text.size()), &stmt, nullptr);
        if (watchReads)
            sqlite3_set_authorizer(m_handle->db, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            throw commandError(m_handle->db, &rewritten);
        }
        if (!stmt)  // only blanks or comments
            throw runtime::Err(runtime::ErrNo::CommandFailed, QStringLiteral(u"Komut metni boş."));
        return stmt;
    }

    static bool hasComputedColumn(sqlite3_stmt *stmt)
    {
        const int count = sqlite3_column_count(stmt);
        for (int i = 0; i < count; ++i) {
            if (!sqlite3_column_decltype(stmt, i))
                return true;
        }
        return false;
    }

    // Few distinct declared types occur; parsing each once saves a text
    // conversion and a parse per column of every query.
    SqlServerType typeDeclared(const char *declared)
    {
        for (const auto &[text, type] : m_declaredTypes) {
            if (text == declared)
                return type;
        }
        const SqlServerType type = SqlServerType::fromDeclared(QString::fromUtf8(declared));
        m_declaredTypes.emplace_back(declared, type);
        return type;
    }

    static int authorize(void *self, int action, const char *a, const char *b, const char *schema, const char *)
    {
        if (action == SQLITE_READ && a && b) {
            static_cast<EmbeddedBackend *>(self)->m_reads.push_back(
                {QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(schema ? schema : "main")});
        }
        return SQLITE_OK;
    }

    void attach(const QString &database)
    {
        const QString schema = schemaNameFor(database);
        if (m_attached.contains(schema))
            return;
        const QString file = databaseFile(m_instanceDir, database);
        if (file.isEmpty()) {
            throw runtime::Err(runtime::ErrNo::CommandFailed,
                      QStringLiteral(u"Database '%1' does not exist. Make sure that the name is entered correctly.")
                          .arg(database));
        }
        // Validate first, so that a broken file gives its own message.
        Handle probe;
        probe.db = openReadOnly(database, file);

        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = "ATTACH DATABASE ?1 AS \"" + schema.toUtf8().replace('"', "\"\"") + '"';
        int rc = sqlite3_prepare_v2(m_handle->db, sql.constData(), -1, &stmt, nullptr);
        if (rc == SQLITE_OK) {
            const QByteArray uri = uriFor(file).toUtf8();
            sqlite3_bind_text(stmt, 1, uri.constData(), int(uri.size()), SQLITE_TRANSIENT);
            rc = sqlite3_step(stmt);
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE && rc != SQLITE_OK)
            throw unusableFile(database, file, sqliteMessage(m_handle->db));
        m_attached.insert(schema);
    }

    // The declared SQL Server type of a column, from the table's schema.
    SqlServerType declaredType(const ColumnRead &read)
    {
        const QString key = read.schema + u'\x1f' + read.table.toLower();
        auto it = m_tableTypes.find(key);
        if (it == m_tableTypes.end()) {
            QHash<QString, QString> columns;
            sqlite3_stmt *stmt = nullptr;
            const QByteArray sql = "PRAGMA \"" + read.schema.toUtf8().replace('"', "\"\"") + "\".table_info(\""
                + read.table.toUtf8().replace('"', "\"\"") + "\")";
            if (sqlite3_prepare_v2(m_handle->db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
                while (sqlite3_step(stmt) == SQLITE_ROW) {
                    columns.insert(textOf(stmt, 1).toLower(), textOf(stmt, 2));
                }
            }
            sqlite3_finalize(stmt);
            it = m_tableTypes.insert(key, columns);
        }
        return SqlServerType::fromDeclared(it->value(read.column.toLower()));
    }

    ResultTypes resultTypes(sqlite3_stmt *stmt, const QString &sql)
    {
        const int count = sqlite3_column_count(stmt);
        ResultTypes result;
        std::vector<SqlServerType> &types = result.columns;
        types.resize(static_cast<size_t>(count));
        QList<SelectItemHint> hints;
        bool hintsRead = false;
        for (int i = 0; i < count; ++i) {
            if (const char *declared = sqlite3_column_decltype(stmt, i)) {
                types[size_t(i)] = typeDeclared(declared);
                continue;
            }
            if (!hintsRead) {
                hints = selectItemHints(sql);
                hintsRead = true;
            }
            if (i >= hints.size() || hints[i].function.isEmpty())
                continue;
            const SelectItemHint &hint = hints[i];
            if (hint.allRows) {
                types[size_t(i)] = SqlServerType::fromDeclared(u"INT");
                continue;
            }
            // The column the aggregate reads: the one of that name, preferring
            // the table the qualifier names.
            const ColumnRead *match = nullptr;
            for (const ColumnRead &read : m_reads) {
                if (read.column.compare(hint.column, Qt::CaseInsensitive) != 0)
                    continue;
                if (!match || read.table.compare(hint.qualifier, Qt::CaseInsensitive) == 0)
                    match = &read;
            }
            if (!match)
                continue;
            types[size_t(i)] = declaredType(*match).aggregated(hint.function);
            if (hint.function.compare(u"SUM", Qt::CaseInsensitive) != 0)
                continue;
            if (result.summed.kind == SqlServerType::Unknown)
                result.summed = types[size_t(i)];
            if (types[size_t(i)].kind == SqlServerType::Int)
                result.intSums.push_back(i);
        }
        return result;
    }

    std::shared_ptr<Handle> m_handle;
    QString m_instanceDir;
    QString m_database;
    QSet<QString> m_attached;
    QHash<QString, QHash<QString, QString>> m_tableTypes;  // schema + table -> column -> declared type
    std::vector<ColumnRead> m_reads;                       // filled while a statement is prepared
    std::vector<std::pair<std::string, SqlServerType>> m_declaredTypes;
};

} // namespace

std::unique_ptr<DbBackend> openEmbeddedInstance(const QString &instanceDir, const QString &database,
                                                const QString &user, const QString &password)
{
    checkLogin(instanceDir, user, password);
    const QString name = database.isEmpty() ? QStringLiteral("master") : database;
    const QString file = databaseFile(instanceDir, name);
    if (file.isEmpty())
        throw cannotOpenDatabase(name);
    auto handle = std::make_shared<Handle>();
    handle->db = openReadOnly(name, file);
    registerExactSum(handle->db);
    return std::make_unique<EmbeddedBackend>(std::move(handle), instanceDir, name);
}

} // namespace zelvan::database
