#pragma once
// The spreadsheet import: an administrator's existing inventory, saved as CSV, brought into
// IP_Info. open() reads the header, check() reads every row and decides its outcome without
// writing, write() stores the accepted rows in one transaction (the history triggers record
// each one). Both run on the program's database connection, from the GUI thread.
#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zorva {

// What to do with an address that is already recorded.
enum class ExistingRecords { Stop, Skip, Update };

struct ImportOptions {
    ExistingRecords existing = ExistingRecords::Stop;
    bool strictPlace = false; // refuse a row that fits no plan entry (else: empty place, warning)
    QString onlyArea;         // a "Kawasan" user's area (IP_Info.Region): rows outside it refused; empty = any
    QString inputBy;          // InputBy when the row gives none
};

enum class RowOutcome { New, Update, Unchanged, Skipped, Refused };

struct ImportRow {
    qint64 line = 0; // file line of the row's first line (the header is line 1)
    RowOutcome outcome = RowOutcome::Refused;
    QString address; // as written in the file
    QString detail;  // Refused: the reason. Update: "Name: old -> new; Floor: ...". Warnings too.
    bool warning = false; // e.g. fits no plan entry (place left empty)
};

struct ImportCounts {
    qint64 rows = 0, added = 0, updated = 0, unchanged = 0, skipped = 0, refused = 0, warnings = 0;
};

// (done, total) in any unit (bytes read here); returning false cancels.
using ImportProgress = std::function<bool(qint64 done, qint64 total)>;

class RecordImport {
public:
    RecordImport();
    ~RecordImport();
    RecordImport(const RecordImport&) = delete;
    RecordImport& operator=(const RecordImport&) = delete;

    // Reads the header; finds the encoding and the delimiter; proposes a mapping.
    bool open(const QString& path, QString* error);
    QString path() const;
    QStringList header() const; // the file's column names
    // The IP_Info columns a file column can fill (not IP_4: it comes from the address).
    static QStringList targetColumns();
    // Per header column: the IP_Info column it fills, or "" for none.
    QStringList mapping() const;
    void setMapping(const QStringList& mapping);
    // "" when usable; else why not (a column filled twice, no address column).
    QString mappingProblem() const;
    QStringList unmappedColumns() const; // header names that fill nothing
    QString encodingName() const;
    QChar delimiter() const;

    // Dry run: reads every row and keeps its outcome; false on error or cancel.
    bool check(const ImportOptions& options, const ImportProgress& progress, QString* error);
    ImportCounts counts() const;
    qint64 rowCount() const;
    ImportRow row(qint64 index) const; // after check, in file order
    // The refused rows, their fields as in the file, plus a "Reason" column.
    bool writeRefused(const QString& path, QString* error) const;
    // Every accepted row, in ONE transaction; nothing written on any failure or cancel.
    bool write(const ImportOptions& options, const ImportProgress& progress, QString* error);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Every IP_Info record, every column, as the search grid's export writes it (the header line
// always, even with no record), in address order.
bool exportAllRecords(const QString& path, const ImportProgress& progress, QString* error);

} // namespace zorva
