#include "import/RecordImport.h"

namespace zorva {

struct RecordImport::Private {
    QString path;
};

RecordImport::RecordImport() : d(std::make_unique<Private>()) {}
RecordImport::~RecordImport() = default;

bool RecordImport::open(const QString& path, QString* error) {
    d->path = path;
    if (error) *error = QStringLiteral("The import is not ready yet.");
    return false;
}
QString RecordImport::path() const { return d->path; }
QStringList RecordImport::header() const { return {}; }
QStringList RecordImport::targetColumns() { return {}; }
QStringList RecordImport::mapping() const { return {}; }
void RecordImport::setMapping(const QStringList&) {}
QString RecordImport::mappingProblem() const { return QStringLiteral("No file is open."); }
QStringList RecordImport::unmappedColumns() const { return {}; }
QString RecordImport::encodingName() const { return {}; }
QChar RecordImport::delimiter() const { return QLatin1Char(','); }
bool RecordImport::check(const ImportOptions&, const ImportProgress&, QString* error) {
    if (error) *error = QStringLiteral("The import is not ready yet.");
    return false;
}
ImportCounts RecordImport::counts() const { return {}; }
qint64 RecordImport::rowCount() const { return 0; }
ImportRow RecordImport::row(qint64) const { return {}; }
bool RecordImport::writeRefused(const QString&, QString* error) const {
    if (error) *error = QStringLiteral("The import is not ready yet.");
    return false;
}
bool RecordImport::write(const ImportOptions&, const ImportProgress&, QString* error) {
    if (error) *error = QStringLiteral("The import is not ready yet.");
    return false;
}
bool exportAllRecords(const QString&, const ImportProgress&, QString* error) {
    if (error) *error = QStringLiteral("The export is not ready yet.");
    return false;
}

} // namespace zorva
