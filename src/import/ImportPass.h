#pragma once
// One reading of an import file, row by row, deciding each row's outcome; the dry run keeps
// the outcomes, the write also stores each accepted row. Internal to the import layer.
#include "import/ImportRules.h"
#include "import/RecordImport.h"

#include <QSqlQuery>
#include <vector>

namespace zorva::importing {

// One row's outcome, compact: an import may hold a million of them.
struct Outcome {
    qint64 line = 0;
    quint32 ip = 0;
    RowOutcome outcome = RowOutcome::Refused;
    bool hasIp = false;
    bool warning = false;
    QString detail;     // of a warning: the area found (the text is made by rowOf)
    QString rawAddress; // only when the address is not one
};

struct PassSetup {
    QString path;
    QStringList header;
    QStringList mapping;
    ImportOptions options;
    bool writing = false;
    ImportProgress progress;
};

struct PassResult {
    std::vector<Outcome> rows; // the dry run's only: the write counts
    ImportCounts counts;
    qint64 stopRefusals = 0;
    qint64 firstStopLine = 0;
};

// Reads the file and decides (and with writing, stores) every row on db. False with error on
// a failure, a cancel, or (writing) a row recorded already under Stop; the caller's
// transaction then rolls back.
bool runPass(QSqlDatabase db, const PassSetup& setup, PassResult* result, QString* error);

ImportRow rowOf(const Outcome& o);

} // namespace zorva::importing
