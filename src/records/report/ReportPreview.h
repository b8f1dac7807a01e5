#pragma once
#include "records/report/Report.h"

#include <QPrintPreviewDialog>

class QAction;
class QPrinter;

namespace zorva::report {

// The report viewer: the pages as they will print, the system's printers, and beyond them
// "Save as PDF..." and "Export CSV...", each asking for the file through the dialog service.
class ReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    explicit ReportPreview(Report report, QWidget* parent = nullptr);

    const Report& report() const { return report_; }
    QAction* actSavePdf = nullptr;
    QAction* actExportCsv = nullptr;

public slots:
    void savePdf();
    void exportCsv();

private:
    void paint(QPrinter* printer);
    QString askFile(const QString& title, const QString& description, const QString& suffix);
    void reportFailure(const QString& path, const QString& reason);

    Report report_;
};

// Shows a report in its preview, modally, through the form service.
int showReport(QWidget* parent, Report report);

} // namespace zorva::report
