#pragma once
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

namespace zorva {

// The engine's own handle behind a connection of Qt; null when db is of another engine. type
// is the name Qt's driver gives it: "sqlite3*" on the file, "pg_conn*" on the server (the
// structure's tag, not libpq's typedef).
template <typename Handle>
Handle* engineHandle(const QSqlDatabase& db, const char* type) {
    const QVariant h = db.driver() ? db.driver()->handle() : QVariant();
    if (!h.isValid() || qstrcmp(h.typeName(), type) != 0) return nullptr;
    return *static_cast<Handle* const*>(h.data());
}

} // namespace zorva
