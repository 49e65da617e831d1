#pragma once

#include "database/backend.h"

#include <QString>

#include <memory>

namespace zelvan::database {

// Opens database `database` of the embedded instance in directory
// `instanceDir` as login `user`. Every file is opened read-only.
// Throws Err 80040E4D "Login failed for user '<user>'." when master.sqlite
// has no such login or the password is wrong, Err 80004005 when the
// database file is missing or is not a usable SQLite file.
std::unique_ptr<DbBackend> openEmbeddedInstance(const QString &instanceDir, const QString &database,
                                                const QString &user, const QString &password);

} // namespace zelvan::database
