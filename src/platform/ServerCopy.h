#pragma once
// The bulk copy of a file's table into a server table: the rows are read straight from the
// file's engine and sent through the server's COPY protocol on the server connection (inside
// its open transaction), then read back the same way and compared, value for value.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <string>

namespace zorva {

// What a set of rows holds, in an order-free form: their number and the sum of a hash of each
// row as COPY's text format writes it.
struct RowsDigest {
    qint64 rows = 0;
    quint64 sum = 0;
    bool operator==(const RowsDigest&) const = default;
};

// Copies the columns (as both tables name them, without brackets) of every row of table from
// the file connection `from` into the same table on the server connection `to`, made in the
// transaction open there (the rows go in frozen). -1 with the
// reason (table, row) when the file cannot be read or the server refuses a row; the digest of
// what was sent in *sent.
qint64 copyRowsToServer(QSqlDatabase from, QSqlDatabase to, const QString& table,
                        const QStringList& columns, RowsDigest* sent, QString* error);

// The digest of those columns of the server table's rows, as the server writes them out.
bool serverRowsDigest(QSqlDatabase to, const QString& table, const QStringList& columns,
                      RowsDigest* digest, QString* error);

// One value in COPY's text format: NULL as \N, backslash, tab, newline and return escaped.
void appendCopyValue(std::string& line, const char* text, qsizetype size, bool isNull);

} // namespace zorva
