#include "platform/ServerCopy.h"

#include "platform/EngineHandle.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlDriver>

#include <libpq-fe.h>
#include <sqlite3.h>

namespace zorva {

namespace {

// Bytes sent to the server at a time. The server takes a piece whole before it parses it: in
// pieces of 1 MB the two mostly waited on each other, in 64 KB they work side by side.
constexpr qsizetype kChunk = 1 << 16;

quint64 lineHash(QByteArrayView line) { return quint64(qHash(line, 0x5eed)); }

QString serverError(PGconn* conn) {
    return QString::fromUtf8(PQerrorMessage(conn)).trimmed();
}

QByteArray quotedList(const QStringList& columns) {
    QByteArray out;
    for (const QString& c : columns) {
        if (!out.isEmpty()) out += ", ";
        out += '"' + c.toLower().toUtf8() + '"';
    }
    return out;
}

// The server's reason for refusing a copy, with the row it refused ("line N" of the copy is
// the Nth row sent) ahead of it.
QString copyErrorOf(const PGresult* r) {
    const QString primary = QString::fromUtf8(PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY));
    const QString context = QString::fromUtf8(PQresultErrorField(r, PG_DIAG_CONTEXT));
    static const QRegularExpression line(QStringLiteral("\\bline (\\d+)"));
    const auto m = line.match(context);
    if (primary.isEmpty()) return QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
    return m.hasMatch() ? QStringLiteral("row %1: %2").arg(m.captured(1), primary) : primary;
}

// Ends a COPY the server still expects data for and reads its outcome.
bool finishCopyIn(PGconn* conn, const char* failure, qint64* rows, QString* why) {
    if (PQputCopyEnd(conn, failure) != 1) {
        *why = serverError(conn);
        return false;
    }
    bool ok = true;
    while (PGresult* r = PQgetResult(conn)) {
        if (PQresultStatus(r) != PGRES_COMMAND_OK) {
            ok = false;
            if (why->isEmpty()) *why = copyErrorOf(r);
        } else if (rows) {
            *rows = QByteArray(PQcmdTuples(r)).toLongLong();
        }
        PQclear(r);
    }
    return ok;
}

} // namespace

void appendCopyValue(std::string& line, const char* text, qsizetype size, bool isNull) {
    if (isNull) {
        line += "\\N";
        return;
    }
    // Runs without a character to escape go in whole: most values have none.
    const char* run = text;
    const char* const end = text + size;
    for (const char* p = text; p < end; ++p) {
        const char* escaped;
        switch (*p) {
        case '\\': escaped = "\\\\"; break;
        case '\t': escaped = "\\t"; break;
        case '\n': escaped = "\\n"; break;
        case '\r': escaped = "\\r"; break;
        default: continue;
        }
        line.append(run, size_t(p - run));
        line.append(escaped, 2);
        run = p + 1;
    }
    line.append(run, size_t(end - run));
}

qint64 copyRowsToServer(QSqlDatabase from, QSqlDatabase to, const QString& table,
                        const QStringList& columns, RowsDigest* sent, QString* error) {
    const auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("table %1%2 %3")
                         .arg(table, why.startsWith(QLatin1String("row ")) ? QStringLiteral(",")
                                                                           : QStringLiteral(":"),
                              why);
        return qint64(-1);
    };
    sqlite3* file = engineHandle<sqlite3>(from, "sqlite3*");
    PGconn* server = engineHandle<PGconn>(to, "pg_conn*");
    if (!file || !server) return fail(QStringLiteral("no direct connection to copy through"));
    QByteArray select = "SELECT ";
    for (qsizetype i = 0; i < columns.size(); ++i)
        select += (i ? ", [" : "[") + columns[i].toUtf8() + ']';
    select += " FROM [" + table.toUtf8() + "] ORDER BY rowid";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(file, select.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return fail(QString::fromUtf8(sqlite3_errmsg(file)));
    // The table was made in this transaction, so the rows can go in frozen, their pages marked
    // visible to all: a count is read from an index alone at once, whatever ran on the server
    // meanwhile (a VACUUM afterwards had left a sixth of a million rows' pages unmarked).
    const QByteArray copy = "COPY " + table.toLower().toUtf8() + " (" + quotedList(columns) +
                            ") FROM STDIN WITH (FREEZE)";
    PGresult* started = PQexec(server, copy.constData());
    const bool copying = PQresultStatus(started) == PGRES_COPY_IN;
    const QString refused = QString::fromUtf8(PQresultErrorMessage(started)).trimmed();
    PQclear(started);
    if (!copying) {
        sqlite3_finalize(stmt);
        return fail(refused);
    }
    RowsDigest digest;
    std::string buffer; // appends cost less than a QByteArray's, a million rows times 26 values
    buffer.reserve(size_t(kChunk) + 4096);
    QString why;
    const int n = int(columns.size());
    int step;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
        // Written straight into what is sent, and hashed there.
        const size_t start = buffer.size();
        for (int i = 0; i < n; ++i) {
            if (i) buffer += '\t';
            // No text only for NULL.
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            appendCopyValue(buffer, text, text ? sqlite3_column_bytes(stmt, i) : 0, !text);
        }
        ++digest.rows;
        digest.sum += lineHash(QByteArrayView(buffer.data() + start, qsizetype(buffer.size() - start)));
        buffer += '\n';
        if (buffer.size() >= size_t(kChunk)) {
            if (PQputCopyData(server, buffer.data(), int(buffer.size())) != 1) {
                why = serverError(server);
                break;
            }
            buffer.clear();
        }
    }
    const bool readAll = step == SQLITE_DONE;
    if (!readAll && why.isEmpty()) why = QString::fromUtf8(sqlite3_errmsg(file));
    sqlite3_finalize(stmt);
    if (why.isEmpty() && !buffer.empty() &&
        PQputCopyData(server, buffer.data(), int(buffer.size())) != 1)
        why = serverError(server);
    qint64 stored = -1;
    const bool ok = finishCopyIn(server, why.isEmpty() ? nullptr : "the copy was stopped", &stored, &why);
    if (!ok || !why.isEmpty()) return fail(why.isEmpty() ? serverError(server) : why);
    if (sent) *sent = digest;
    return stored;
}

bool serverRowsDigest(QSqlDatabase to, const QString& table, const QStringList& columns,
                      RowsDigest* digest, QString* error) {
    PGconn* server = engineHandle<PGconn>(to, "pg_conn*");
    if (!server) {
        if (error) *error = QStringLiteral("table %1: no direct connection to read through").arg(table);
        return false;
    }
    const QByteArray copy = "COPY " + table.toLower().toUtf8() + " (" + quotedList(columns) + ") TO STDOUT";
    PGresult* started = PQexec(server, copy.constData());
    const bool copying = PQresultStatus(started) == PGRES_COPY_OUT;
    QString why = QString::fromUtf8(PQresultErrorMessage(started)).trimmed();
    PQclear(started);
    RowsDigest d;
    if (copying) {
        char* data = nullptr;
        int size;
        while ((size = PQgetCopyData(server, &data, 0)) > 0) {
            // One row per message, ending in its newline.
            const qsizetype length = size > 0 && data[size - 1] == '\n' ? size - 1 : size;
            ++d.rows;
            d.sum += lineHash(QByteArrayView(data, length));
            PQfreemem(data);
        }
        why.clear();
        while (PGresult* r = PQgetResult(server)) {
            if (PQresultStatus(r) != PGRES_COMMAND_OK && why.isEmpty())
                why = QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
            PQclear(r);
        }
    }
    if (!why.isEmpty() || !copying) {
        if (error) *error = QStringLiteral("table %1: %2").arg(table, why);
        return false;
    }
    if (digest) *digest = d;
    return true;
}

} // namespace zorva
