#pragma once

#include "analysis/core/workbook.h"

#include <QMainWindow>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QTabWidget;

namespace qv {
class Prompter;
}

namespace qv::analysis {

class frmWorkbooks;

// The spreadsheet application of a grid window's analyses: the workbook
// model, which tells its window when a workbook comes and when it is to show.
class WorkbookApplication : public WorkbookModel {
public:
    explicit WorkbookApplication(frmWorkbooks& window) : window_(window) {}
    void addWorkbook() override;
    void setVisible(bool visible) override;

private:
    frmWorkbooks& window_;
};

// "Quorvane Workbooks": one tab per workbook, each showing the pivot table
// over its Sheet1. Workbooks are saved as .xlsx files whose pivot tables
// other spreadsheet programs open as live pivot tables.
class frmWorkbooks : public QMainWindow {
    Q_OBJECT
public:
    explicit frmWorkbooks(Prompter& prompter, QWidget* parent = nullptr);
    ~frmWorkbooks() override;

    SpreadsheetApplication& application() { return app_; }
    const WorkbookModel& workbooks() const { return app_; }
    QTabWidget* tabs() const { return tabs_; }

    // File menu commands, on the workbook of the current tab.
    void saveAs();
    void saveChartAs(); // the chart of the workbook's pivot table, PNG or SVG
    void openInSpreadsheetProgram();
    void closeWorkbook();

    // How the desktop opens a file, calling back when no program could;
    // tests put their own here.
    std::function<void(const QString&, const std::function<void()>&)> openFile;

private:
    friend class WorkbookApplication;
    void showWorkbooks();
    bool writeWorkbook(int index, const QString& path, const QString& title);
    // A file to save to, offered as baseName plus the first of extensions in
    // the documents folder and given that extension when it ends in none of
    // them; empty when the user cancels.
    QString chooseSaveFile(const QString& title, const QString& filter, const QString& baseName,
                           const QStringList& extensions);

    Prompter& prompter_;
    WorkbookApplication app_;
    QTabWidget* tabs_;
    int shownBooks_ = 0; // workbooks with a tab
    std::unique_ptr<QTemporaryDir> openFolder_;
};

} // namespace qv::analysis
