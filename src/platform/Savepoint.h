#pragma once
// A savepoint around part of a server transaction: a statement that fails inside it is undone
// alone, and the transaction goes on whole (the server otherwise refuses every later statement).
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

namespace zorva {

class Savepoint {
public:
    // Does nothing when not active (outside a transaction, or on the file).
    Savepoint(QSqlDatabase db, QString name, bool active)
        : db_(std::move(db)), name_(std::move(name)), active_(active) {
        if (active_) QSqlQuery(db_).exec(QStringLiteral("SAVEPOINT ") + name_);
    }
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    ~Savepoint() { finish(false); }

    // Undoes what ran since it was set, and keeps it set for another attempt.
    void rollBack() {
        if (active_) QSqlQuery(db_).exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + name_);
    }
    // Keeps what ran (ok) or undoes it, and lets the savepoint go.
    void finish(bool ok) {
        if (!active_) return;
        if (ok) QSqlQuery(db_).exec(QStringLiteral("RELEASE SAVEPOINT ") + name_);
        else rollBack();
        active_ = false;
    }

private:
    QSqlDatabase db_;
    QString name_;
    bool active_;
};

} // namespace zorva
