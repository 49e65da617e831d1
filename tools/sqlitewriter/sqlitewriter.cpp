#include "sqlitewriter/sqlitewriter.h"

#include <QFile>

#include <sqlite3.h>

namespace zelvan::writer {

namespace {
[[noreturn]] void fail(sqlite3 *db, const QString &what)
{
    throw SqliteWriter::Error((what + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db))).toStdString());
}
} // namespace

SqliteWriter::SqliteWriter(const QString &path, bool replaceExisting)
{
    if (replaceExisting)
        QFile::remove(path);
    const QByteArray file = path.toUtf8();
    if (sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw Error((QStringLiteral("cannot create ") + path + QStringLiteral(": ") + message).toStdString());
    }
    // Instances are read by many processes at once: keep the classic journal
    // so that no -wal or -shm files appear beside them.
    exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

SqliteWriter::~SqliteWriter()
{
    sqlite3_close(m_db);
}

void SqliteWriter::exec(const QString &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : "?");
        sqlite3_free(message);
        throw Error((text + QStringLiteral(" in: ") + sql.left(200)).toStdString());
    }
}

SqliteWriter::Statement SqliteWriter::prepare(const QString &sql)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        fail(m_db, QStringLiteral("prepare ") + sql.left(200));
    return Statement(m_db, stmt);
}

SqliteWriter::Statement::Statement(sqlite3 *db, sqlite3_stmt *stmt)
    : m_db(db)
    , m_stmt(stmt)
{
}

SqliteWriter::Statement::Statement(Statement &&other) noexcept
    : m_db(other.m_db)
    , m_stmt(other.m_stmt)
{
    other.m_stmt = nullptr;
}

SqliteWriter::Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

SqliteWriter::Statement &SqliteWriter::Statement::bind(int position, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, position);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::UChar:
            rc = sqlite3_bind_int64(m_stmt, position, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, position, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(m_stmt, position, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, position, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        fail(m_db, QStringLiteral("bind"));
    return *this;
}

void SqliteWriter::Statement::run()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        fail(m_db, QStringLiteral("step"));
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

} // namespace zelvan::writer
