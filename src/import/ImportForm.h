#pragma once
#include "platform/FormBase.h"

#include <QAbstractTableModel>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;
class QTableWidget;

namespace zorva {

class RecordImport;

// The outcome of every row of a checked file, read from the import in pages as the grid
// scrolls (a file may hold a million rows).
class ImportRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Line, Address, Outcome, Details, ColumnCount };
    explicit ImportRowsModel(QObject* parent = nullptr);
    void show(const RecordImport* import); // nullptr: empty
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    const RecordImport* import_ = nullptr;
    qint64 total_ = 0;
    int shown_ = 0;
};

// "Import Records": a spreadsheet's rows (CSV) into the inventory. The file's columns are
// matched to the record's fields (the user may change the match), every row is checked first
// (a dry run listing each row's outcome), and the accepted rows are written in one piece.
class ImportForm : public FormBase {
    Q_OBJECT
public:
    explicit ImportForm(QWidget* parent = nullptr);
    ~ImportForm() override;

    QLineEdit* txtFile;
    QPushButton* cmdBrowse;
    QLabel* lblFile;
    QTableWidget* gridMapping;
    QLabel* lblMapping;
    QRadioButton* optStop;
    QRadioButton* optSkip;
    QRadioButton* optUpdate;
    QCheckBox* chkStrictPlace;
    QPushButton* cmdCheck;
    QPushButton* cmdImport;
    QPushButton* cmdSaveRefused;
    QPushButton* cmdCancel;
    QPushButton* cmdClose;
    QProgressBar* prgImport;
    QLabel* lblCount;
    QTableView* gridRows;

    ImportRowsModel* model() const { return model_; }
    // Opens a file as Browse does once it is chosen.
    bool openFile(const QString& path);

public slots:
    void cmdBrowse_Click();
    void cmdCheck_Click();
    void cmdImport_Click();
    void cmdSaveRefused_Click();
    void cmdCancel_Click();
    void cmdClose_Click();

protected:
    void Form_Load() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildUi();
    void showMapping();
    void mappingChanged();
    void optionsChanged();
    void setRunning(bool running);
    bool progress(qint64 done, qint64 total);
    void showCounts();

    std::unique_ptr<RecordImport> import_;
    ImportRowsModel* model_;
    bool checked_ = false;
    bool running_ = false;
    bool cancelled_ = false;
};

// "Export All Records...": every record, every field, into a CSV file the import reads back.
void exportAllRecordsAsked(QWidget* parent);

} // namespace zorva
