#include "records/report/ReportPreview.h"
#include "platform/Builders.h"
#include "platform/Session.h"
#include "platform/Ui.h"
#include "records/report/ReportCsv.h"
#include "records/report/ReportPainter.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QPrinter>
#include <QStandardPaths>
#include <QToolBar>

namespace zorva::report {

ReportPreview::ReportPreview(Report report, QWidget* parent)
    : QPrintPreviewDialog(parent), report_(std::move(report)) {
    setObjectName(report_.name);
    setWindowTitle(report_.caption);
    if (QPrinter* p = printer()) {
        p->setPageLayout(reportPageLayout());
        p->setDocName(report_.caption);
    }
    actSavePdf = named<QAction>("actSavePdf", QStringLiteral("Save as PDF..."), this);
    actExportCsv = named<QAction>("actExportCsv", QStringLiteral("Export CSV..."), this);
    // The preview dialog's own tool bar, which it builds and does not hand out.
    if (auto* bar = findChild<QToolBar*>()) {
        // Its print action gets the usual key.
        for (QAction* a : bar->actions())
            if (a->text().remove(QLatin1Char('&')) == QLatin1String("Print")) {
                a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
                a->setObjectName(QStringLiteral("actPrint"));
                addAction(a);
            }
        bar->addSeparator();
        bar->addAction(actSavePdf);
        bar->addAction(actExportCsv);
    }
    connect(actSavePdf, &QAction::triggered, this, &ReportPreview::savePdf);
    connect(actExportCsv, &QAction::triggered, this, &ReportPreview::exportCsv);
    connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreview::paint);
    resize(900, 700);
}

void ReportPreview::paint(QPrinter* printer) {
    QString error;
    if (!printReport(report_, *printer, &error))
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), error);
}

QString ReportPreview::askFile(const QString& title, const QString& description,
                               const QString& suffix) {
    FileDialogRequest request;
    request.title = title;
    request.folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (request.folder.isEmpty() || !QDir(request.folder).exists()) request.folder = QDir::homePath();
    request.fileName = report_.caption + QLatin1Char('.') + suffix;
    request.filter = description + QStringLiteral(" (*.") + suffix + QStringLiteral(")|*.") + suffix;
    request.save = true;
    QString path = ui().chooseFile(this, request);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + suffix;
    return path;
}

void ReportPreview::reportFailure(const QString& path, const QString& reason) {
    ui().message(this, Icon::Critical, QStringLiteral("Error !!!"),
                 QStringLiteral("The file %1 could not be written: %2")
                     .arg(QDir::toNativeSeparators(path), reason));
}

void ReportPreview::savePdf() {
    const QString path = askFile(QStringLiteral("Save as PDF"), QStringLiteral("PDF files"),
                                 QStringLiteral("pdf"));
    if (path.isEmpty()) return;
    QString error;
    const int pages = writePdf(report_, path, &error);
    if (pages == 0) return reportFailure(path, error);
    session().announce(QStringLiteral("Report saved to %1 (%2 page%3)")
                           .arg(QDir::toNativeSeparators(path))
                           .arg(pages)
                           .arg(pages == 1 ? QString() : QStringLiteral("s")));
}

void ReportPreview::exportCsv() {
    const QString path = askFile(QStringLiteral("Export CSV"),
                                 QStringLiteral("CSV files"), QStringLiteral("csv"));
    if (path.isEmpty()) return;
    QString error;
    if (!writeCsv(report_, path, &error)) return reportFailure(path, error);
    session().announce(QStringLiteral("Report exported to %1").arg(QDir::toNativeSeparators(path)));
}

int showReport(QWidget* parent, Report report) {
    ReportPreview preview(std::move(report), parent);
    return ui().showModal(preview);
}

} // namespace zorva::report
