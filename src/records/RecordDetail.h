#pragma once
#include "records/RecordSearch.h"

#include <QDate>
#include <QSqlRecord>
#include <optional>

class QWidget;

namespace zorva {

// DateIssue as the program shows it: the stored ISO date as dd/MM/yyyy (a text that is no
// ISO date is shown as stored).
QString issueDateText(const QVariant& stored);
// DateIssue as stored for a date.
QString issueDateValue(const QDate& date);
// "Last Update by <InputBy> on <dd/MM/yyyy>".
QString updateNote(const QSqlRecord& record);
// "Marked for reclaim by <user> on <yyyy-MM-dd>" while the IP monitor has the address marked as
// a reclaim candidate; empty when it is not marked (or the mark cannot be read).
QString reclaimNote(const QString& address);

// The first record of a query with its row key in the column "zorva_key"; nullopt when none
// (a failure is reported over parent).
std::optional<QSqlRecord> readRecord(QWidget* parent, const RecordQuery& query);
// The record with that row key.
std::optional<QSqlRecord> readRecord(QWidget* parent, const QVariant& key);

} // namespace zorva
