// Renders a by-date report of 100,000 records (the shared benchmark inventory) to PDF through the program's own code, then
// opens the preview of a 10,000-record report, and prints the times and the peak memory.
#include "platform/Database.h"
#include "records/report/ReportPainter.h"
#include "records/report/ReportPreview.h"
#include "records/rptByDate.h"
#include "support/Fixture.h"
#include "support/Inventory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace zorva;

namespace {

// The shared inventory writes its dates over these ten years.
const QDate kFirstDay(2014, 1, 1);
const QDate kLastDay(2023, 12, 31);

double peakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

// Processor time of this process so far (user and system), in seconds: on a busy shared
// machine it tells the work apart from the waiting.
double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    test::AppFixture fixture;
    bench::InventoryOptions options;
    options.rows = rows;
    QString error;
    if (bench::fillInventory(database(), options, &error).rows != rows) {
        std::fprintf(stderr, "report_pdf: could not fill the database: %s\n", qPrintable(error));
        return 1;
    }
    const QDate last = kLastDay;

    QElapsedTimer t;
    t.start();
    double cpu = cpuSeconds();
    auto records = dateRecords(nullptr, kFirstDay, last);
    if (!records) return 1;
    const int found = int(records->size());
    const double queryCpu = cpuSeconds() - cpu;
    const report::Report r = rptByDate(kFirstDay.toString(QStringLiteral("dd/MM/yyyy")),
                                       last.toString(QStringLiteral("dd/MM/yyyy")),
                                       std::move(*records));
    // A second argument keeps the PDF there, to look at.
    const QString pdf = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                 : fixture.path(QStringLiteral("report.pdf"));
    const int pages = report::writePdf(r, pdf, &error);
    const double seconds = t.nsecsElapsed() / 1e9;
    if (!pages) {
        std::fprintf(stderr, "report_pdf: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("report_pdf: rows %d, pages %d, %.2f s, peak %.0f MB (processor %.2f s, of which the query %.2f s; PDF %.1f MB)\n",
                found, pages, seconds, peakMegabytes(), cpuSeconds() - cpu, queryCpu,
                QFileInfo(pdf).size() / 1048576.0);

    // The preview of a 10,000-record report: from the request to the window with its pages.
    std::vector<QStringList> some(r.rows.begin(), r.rows.begin() + std::min(found, 10000));
    t.restart();
    cpu = cpuSeconds();
    report::ReportPreview preview(rptByDate(QString(), QString(), std::move(some)));
    preview.show();
    QApplication::processEvents();
    std::printf("report_pdf: preview of %d rows shown in %.2f s (processor %.2f s)\n",
                int(preview.report().rows.size()), t.nsecsElapsed() / 1e9, cpuSeconds() - cpu);
    return 0;
}
