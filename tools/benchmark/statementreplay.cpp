#include "statementreplay.h"

#include <sqlite3.h>

#include <chrono>

namespace zelvan::replay {

ReplayResult replayStatements(const QString &file, const QStringList &statements)
{
    ReplayResult result;
    QList<QByteArray> texts;
    texts.reserve(statements.size());
    for (const QString &statement : statements)
        texts.append(statement.toUtf8());

    const auto started = std::chrono::steady_clock::now();
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr)
        != SQLITE_OK) {
        result.error = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close_v2(db);
        return result;
    }
    for (const QByteArray &text : std::as_const(texts)) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
            result.error = QString::fromUtf8(sqlite3_errmsg(db));
            break;
        }
        const int columns = sqlite3_column_count(stmt);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            ++result.rows;
            for (int i = 0; i < columns; ++i) {
                switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_INTEGER: result.checksum += double(sqlite3_column_int64(stmt, i)); break;
                case SQLITE_FLOAT: result.checksum += sqlite3_column_double(stmt, i); break;
                case SQLITE_TEXT: result.checksum += sqlite3_column_bytes(stmt, i); break;
                default: break;
                }
            }
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE) {
            result.error = QString::fromUtf8(sqlite3_errmsg(db));
            break;
        }
        ++result.statements;
    }
    sqlite3_close_v2(db);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

} // namespace zelvan::replay
