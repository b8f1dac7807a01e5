#include "platform/SqlDialect.h"
#include "platform/ServerKey.h"
#include "platform/Database.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>

namespace zorva {

Dialect dialectOf(const QSqlDatabase& db) {
    return db.driverName() == QLatin1String("QPSQL") ? Dialect::PostgreSQL : Dialect::SQLite;
}

namespace {

// Whether the statement so far ends in the operator LIKE (not ILIKE), blanks aside.
bool likeOperand(const QString& before) {
    qsizetype end = before.size();
    while (end > 0 && before.at(end - 1).isSpace()) --end;
    if (end < 4 || before.mid(end - 4, 4).compare(QLatin1String("like"), Qt::CaseInsensitive) != 0)
        return false;
    if (end == 4) return true;
    const QChar prior = before.at(end - 5);
    return !prior.isLetterOrNumber() && prior != QLatin1Char('_');
}

// Whether word begins at sql[i] (letter case aside) and not inside a longer name.
bool startsWord(const QString& sql, qsizetype i, QLatin1String word) {
    if (i > 0 && (sql.at(i - 1).isLetterOrNumber() || sql.at(i - 1) == QLatin1Char('_'))) return false;
    return QStringView(sql).mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

bool escapeFollows(const QString& sql, qsizetype from) {
    while (from < sql.size() && sql.at(from).isSpace()) ++from;
    return sql.mid(from, 6).compare(QLatin1String("escape"), Qt::CaseInsensitive) == 0;
}

bool nameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// The name or number that begins at sql[i]; empty when none begins there.
QStringView wordAt(const QString& sql, qsizetype i) {
    if (!nameChar(sql.at(i)) || (i > 0 && nameChar(sql.at(i - 1)))) return {};
    qsizetype end = i;
    while (end < sql.size() && nameChar(sql.at(end))) ++end;
    return QStringView(sql).mid(i, end - i);
}

// What a sort term needs so that its NULLs come where SQLite puts them: first in ascending
// order, last in descending (the server's default is the other way round). Nothing when the
// term says so itself, or sorts by the row key, which is never NULL and whose primary key
// index the server walks either way.
QString nullsFor(QStringView term) {
    static const QRegularExpression said(QStringLiteral("\\bnulls\\s+(first|last)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression key(QStringLiteral("^(\\w+\\.)?\"?rowid\"?(\\s+(asc|desc))?$"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression descending(QStringLiteral("\\bdesc$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QString t = term.trimmed().toString();
    if (t.isEmpty() || said.match(t).hasMatch() || key.match(t).hasMatch()) return {};
    return descending.match(t).hasMatch() ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST");
}

struct Insertion {
    qsizetype at;
    QString text;
};

// Each term of a list (sql[from, to), split at its own commas) with its NULLs placed.
void placeNulls(const QString& sql, qsizetype from, qsizetype to, QList<Insertion>& out) {
    auto term = [&](qsizetype start, qsizetype end) {
        const QString add = nullsFor(QStringView(sql).mid(start, end - start));
        while (end > start && sql.at(end - 1).isSpace()) --end;
        if (!add.isEmpty()) out.append({end, add});
    };
    int depth = 0;
    qsizetype start = from;
    for (qsizetype i = from; i < to; ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('(')) ++depth;
        else if (c == QLatin1Char(')')) --depth;
        else if (c == QLatin1Char(',') && depth == 0) {
            term(start, i);
            start = i + 1;
        } else i = quotedEnd(sql, i);
    }
    term(start, to);
}

QString inserted(QString sql, QList<Insertion> insertions) {
    // From the end; of two at one place, the earlier in the list ends up last.
    std::stable_sort(insertions.begin(), insertions.end(),
                     [](const Insertion& a, const Insertion& b) { return a.at > b.at; });
    for (const Insertion& i : insertions) sql.insert(i.at, i.text);
    return sql;
}

// Words that end an ORDER BY list at its own depth.
bool endsOrder(QStringView word) {
    static const char* const enders[] = {"limit", "offset", "fetch", "rows", "range", "groups",
                                         "union", "except", "intersect", "for", "window"};
    for (const char* e : enders)
        if (word.compare(QLatin1String(e), Qt::CaseInsensitive) == 0) return true;
    return false;
}

// Every ORDER BY of a statement (in subqueries, window definitions and aggregates too) with
// its NULLs where SQLite puts them.
QString fileNullOrder(const QString& sql) {
    struct Open {
        int depth;
        qsizetype from;
    };
    QList<Open> open;
    QList<Insertion> insertions;
    auto close = [&](qsizetype at) {
        placeNulls(sql, open.last().from, at, insertions);
        open.removeLast();
    };
    int depth = 0;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        const bool here = !open.isEmpty() && open.last().depth == depth;
        if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            if (here) close(i);
            --depth;
        } else if (c == QLatin1Char(';')) {
            while (!open.isEmpty()) close(i);
            depth = 0;
        } else if (const QStringView word = wordAt(sql, i); !word.isEmpty()) {
            if (here && endsOrder(word)) {
                close(i);
            } else if (word.compare(QLatin1String("order"), Qt::CaseInsensitive) == 0) {
                qsizetype by = i + word.size();
                while (by < n && sql.at(by).isSpace()) ++by;
                if (by < n && wordAt(sql, by).compare(QLatin1String("by"), Qt::CaseInsensitive) == 0) {
                    open.append({depth, by + 2});
                    i = by + 1;
                    continue;
                }
            }
            i += word.size() - 1;
        } else {
            i = quotedEnd(sql, i);
        }
    }
    while (!open.isEmpty()) close(n);
    return inserted(sql, insertions);
}

// A b-tree index of the server in the order the statements ask for: ascending with NULLs
// first, so that it serves them (walked backwards: descending with NULLs last).
QString nullsFirstIndex(const QString& sql) {
    static const QRegularExpression index(
        QStringLiteral("^\\s*CREATE\\s+(UNIQUE\\s+)?INDEX\\b[^(]*?\\bON\\s+[\\w.\"]+\\s*(USING\\s+btree\\s*)?\\("),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = index.match(sql);
    if (!m.hasMatch()) return sql;
    const qsizetype from = m.capturedEnd();
    int depth = 0;
    for (qsizetype i = from; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('(')) ++depth;
        else if (c == QLatin1Char(')') && depth-- == 0) {
            QList<Insertion> insertions;
            placeNulls(sql, from, i, insertions);
            // The file's indexes end in the row key unsaid, and serve an order by (column, row
            // key); the server's are given it, or a walk sorts every line of equal value.
            const QString last = sql.mid(from, i - from).section(QLatin1Char(','), -1).trimmed();
            if (m.captured(1).isEmpty() && last.compare(QLatin1String("rowid"), Qt::CaseInsensitive) != 0 &&
                last.compare(QLatin1String("\"rowid\""), Qt::CaseInsensitive) != 0)
                insertions.prepend({i, QStringLiteral(", rowid")}); // placed after the NULLs
            return inserted(sql, insertions);
        } else i = quotedEnd(sql, i);
    }
    return sql;
}

} // namespace

qsizetype quotedEnd(const QString& sql, qsizetype i) {
    const QChar c = sql.at(i);
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        const qsizetype end = sql.indexOf(c, i + 1);
        return end < 0 ? sql.size() - 1 : end;
    }
    if (c != QLatin1Char('$') || (i > 0 && nameChar(sql.at(i - 1)))) return i;
    qsizetype close = i + 1;
    while (close < sql.size() && nameChar(sql.at(close))) ++close;
    if (close >= sql.size() || sql.at(close) != QLatin1Char('$')) return i;
    const QString tag = sql.mid(i, close + 1 - i);
    const qsizetype end = sql.indexOf(tag, close + 1);
    return end < 0 ? sql.size() - 1 : end + tag.size() - 1;
}


namespace {

QString translated(const QString& sql) {
    QString out;
    out.reserve(sql.size() + 8);
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        if (const qsizetype end = quotedEnd(sql, i); end != i) {
            out += QStringView(sql).mid(i, end + 1 - i); // copied whole
            i = end;
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = sql.indexOf(QLatin1Char(']'), i + 1);
            if (end < 0) {
                out += sql.mid(i);
                break;
            }
            out += QLatin1Char('"') + sql.mid(i + 1, end - i - 1).toLower() + QLatin1Char('"');
            i = end;
        } else if (startsWord(sql, i, QLatin1String("ifnull("))) {
            out += QStringLiteral("coalesce(");
            i += 6;
        } else if (c == QLatin1Char('?') && likeOperand(out) && !escapeFollows(sql, i + 1)) {
            // The server's Like takes a backslash as its escape character; the file's has none.
            out += QStringLiteral("? ESCAPE ''");
        } else {
            out += c;
        }
    }
    return fileNullOrder(out);
}

} // namespace

QString serverSql(const QString& sql) {
    // The program runs the same few hundred texts again and again: each is translated once per
    // thread (the sort terms' parsing cost a short lookup a tenth of its time).
    thread_local QHash<QString, QString> done;
    if (const auto it = done.constFind(sql); it != done.cend()) return *it;
    if (done.size() >= 2000) done.clear();
    return *done.insert(sql, translated(sql));
}

QString sqlFor(const QSqlDatabase& db, const QString& sql) { return isServer(db) ? serverSql(sql) : sql; }

QString serverDdl(const QString& sql) {
    static const QRegularExpression address(QStringLiteral("\\bIP_Address\\s+TEXT\\s+COLLATE\\s+NOCASE\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression nocase(QStringLiteral("\\bTEXT\\s+COLLATE\\s+NOCASE\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression integer(QStringLiteral("\\bINTEGER\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression table(QStringLiteral("^\\s*CREATE\\s+TABLE\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression columns(QStringLiteral("^\\s*(CREATE|ALTER)\\s+TABLE\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression plain(QStringLiteral("\\bTEXT\\b(?!\\s+COLLATE\\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
    // "+column" only steers SQLite's planner away from an index; the server indexes the column.
    static const QRegularExpression steered(QStringLiteral("\\(\\+(\\w+)\\)"));
    QString out = sql;
    out.replace(steered, QStringLiteral("(\\1)"));
    // Text in byte order as on the file, whatever the database's own collation: plain text
    // compares as SQLite's BINARY, citext under "C" folds ASCII letters and then compares bytes
    // as NOCASE does.
    if (columns.match(out).hasMatch()) out.replace(plain, QStringLiteral("text COLLATE \"C\""));
    out.replace(address, QStringLiteral("IP_Address text COLLATE \"C\""));
    out.replace(nocase, QStringLiteral("citext COLLATE \"C\""));
    out.replace(integer, QStringLiteral("bigint"));
    if (table.match(out).hasMatch()) {
        const qsizetype close = out.lastIndexOf(QLatin1Char(')'));
        if (close > 0)
            out.insert(close, QStringLiteral(",\n        rowid bigint GENERATED BY DEFAULT AS "
                                             "IDENTITY PRIMARY KEY"));
    }
    return serverSql(nullsFirstIndex(out));
}

ServerKeyStatements serverKeyStatements(const QString& table) {
    // The server's own name for the key that serverDdl declares.
    const QString key = table.toLower() + QStringLiteral("_pkey");
    return {QStringLiteral("ALTER TABLE %1 DROP CONSTRAINT %2").arg(table, key),
            QStringLiteral("ALTER TABLE %1 ADD CONSTRAINT %2 PRIMARY KEY (rowid)").arg(table, key)};
}

QString catalogSql(Dialect d, Catalog what) {
    if (d == Dialect::SQLite) {
        switch (what) {
        case Catalog::Tables: return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'");
        case Catalog::Indexes: return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'");
        case Catalog::Columns: return QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid");
        case Catalog::Triggers: return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'trigger'");
        }
    }
    switch (what) {
    case Catalog::Tables:
        return QStringLiteral("SELECT table_name FROM information_schema.tables "
                              "WHERE table_schema = current_schema() AND table_type = 'BASE TABLE'");
    case Catalog::Indexes:
        return QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = current_schema()");
    case Catalog::Columns:
        // The row key is the server's own addition, not one of the program's columns.
        return QStringLiteral("SELECT column_name FROM information_schema.columns "
                              "WHERE table_schema = current_schema() AND table_name = lower(?) "
                              "AND column_name <> 'rowid' ORDER BY ordinal_position");
    case Catalog::Triggers:
        return QStringLiteral("SELECT DISTINCT trigger_name FROM information_schema.triggers "
                              "WHERE trigger_schema = current_schema()");
    }
    return {};
}

QStringList catalog(QSqlDatabase& db, Catalog what, const QVariantList& values) {
    QStringList out;
    auto q = runSqlOn(db, catalogSql(dialectOf(db), what), values);
    while (q && q->next()) out << q->value(0).toString();
    return out;
}

} // namespace zorva
