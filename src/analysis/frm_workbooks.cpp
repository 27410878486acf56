#include "analysis/frm_workbooks.h"

#include "analysis/core/pivot_table.h"
#include "analysis/core/xlsx_writer.h"
#include "analysis/desktop_opener.h"
#include "analysis/pivot_chart_view.h"
#include "analysis/workbook_page.h"
#include "common/error.h"
#include "common/prompter.h"
#include "common/window_fit.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>

#include <algorithm>

namespace qv::analysis {

void WorkbookApplication::addWorkbook()
{
    WorkbookModel::addWorkbook();
}

void WorkbookApplication::setVisible(bool visible)
{
    WorkbookModel::setVisible(visible);
    if (visible)
        window_.showWorkbooks();
    else
        window_.hide();
}

frmWorkbooks::frmWorkbooks(Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), app_(*this), tabs_(new QTabWidget(this))
{
    setObjectName(QStringLiteral("frmWorkbooks"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quorvane Workbooks"));
    tabs_->setDocumentMode(true);
    setCentralWidget(tabs_);
    openFile = [this](const QString& path, const std::function<void()>& failed) {
        openWithDesktop(path, this, failed);
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* save = file->addAction(QStringLiteral("Save &As..."), this, &frmWorkbooks::saveAs);
    save->setObjectName(QStringLiteral("mnuFileSaveAs"));
    save->setShortcut(QKeySequence::SaveAs);
    file->addAction(QStringLiteral("Save C&hart As..."), this, &frmWorkbooks::saveChartAs)
        ->setObjectName(QStringLiteral("mnuFileSaveChartAs"));
    QAction* open = file->addAction(QStringLiteral("&Open in Spreadsheet Program"), this,
                                    &frmWorkbooks::openInSpreadsheetProgram);
    open->setObjectName(QStringLiteral("mnuFileOpenInSpreadsheet"));
    file->addSeparator();
    file->addAction(QStringLiteral("Close &Workbook"), this, &frmWorkbooks::closeWorkbook)
        ->setObjectName(QStringLiteral("mnuFileCloseWorkbook"));
    file->addAction(QStringLiteral("&Close"), this, &QWidget::close)
        ->setObjectName(QStringLiteral("mnuFileClose"));
    resize(900, 620);
}

frmWorkbooks::~frmWorkbooks() = default;

void frmWorkbooks::showWorkbooks()
{
    // Workbooks added since the last showing get their tab.
    for (int i = shownBooks_; i < app_.workbookCount(); ++i)
        tabs_->addTab(new WorkbookPage(app_.workbook(i), tabs_), app_.workbook(i).name);
    shownBooks_ = app_.workbookCount();
    tabs_->setCurrentIndex(tabs_->count() - 1);
    if (!isVisible()) {
        // The first showing: over the window the analysis ran from, all of it on the screen.
        const QWidget* over = QApplication::activeWindow();
        const QScreen* screen = over != nullptr ? over->screen() : QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            const QRect area = screen->availableGeometry();
            const QRect placed = fitInside(
                centredOver(size(), over != nullptr ? over->frameGeometry() : area), area, TypicalFrame);
            // move() places the frame, as every window manager does.
            resize(placed.size());
            move(placed.topLeft() - QPoint(TypicalFrame.left(), TypicalFrame.top()));
        }
    }
    show();
    raise();
    activateWindow();
}

bool frmWorkbooks::writeWorkbook(int index, const QString& path, const QString& title)
{
    const Workbook& book = app_.workbook(index);
    for (const PivotDefinition& pivot : book.pivots) {
        const int columns = pivotSheetColumns(computePivot(book, pivot));
        if (columns > CalcDefaultColumnLimit)
            prompter_.message(
                QStringLiteral(
                    "The pivot table %1 takes %2 columns. Spreadsheet programs hold at most 16,384 "
                    "columns in a sheet, LibreOffice Calc 1,024 unless its very large spreadsheets "
                    "are switched on, and cut what is beyond.")
                    .arg(pivot.name)
                    .arg(columns),
                title, Icon::Exclamation);
    }
    try {
        writeXlsx(book, path);
        return true;
    } catch (const Error& error) {
        prompter_.error(error, ErrorLayout::Report, title);
        return false;
    }
}

QString frmWorkbooks::chooseSaveFile(const QString& title, const QString& filter, const QString& baseName,
                                     const QStringList& extensions)
{
    FileChoice choice;
    choice.title = title;
    choice.filter = filter;
    choice.initialFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    choice.fileName = baseName + extensions.front();
    choice.cancelError = false;
    QString path = prompter_.saveFile(choice);
    const auto hasExtension = [&path](const QString& extension) {
        return path.endsWith(extension, Qt::CaseInsensitive);
    };
    if (!path.isEmpty() && std::none_of(extensions.begin(), extensions.end(), hasExtension))
        path += extensions.front();
    return path;
}

void frmWorkbooks::saveAs()
{
    const int index = tabs_->currentIndex();
    if (index < 0 || index >= app_.workbookCount())
        return;
    const QString title = QStringLiteral("Save As");
    const QString path = chooseSaveFile(title, QStringLiteral("Excel Workbook (*.xlsx)|*.xlsx"),
                                        app_.workbook(index).name, {QStringLiteral(".xlsx")});
    if (!path.isEmpty())
        writeWorkbook(index, path, title);
}

void frmWorkbooks::saveChartAs()
{
    auto* page = qobject_cast<WorkbookPage*>(tabs_->currentWidget());
    const int index = tabs_->currentIndex();
    if (page == nullptr || page->chartView() == nullptr || index >= app_.workbookCount())
        return;
    const QString title = QStringLiteral("Save Chart As");
    const QString path =
        chooseSaveFile(title, QStringLiteral("PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg"),
                       app_.workbook(index).name, {QStringLiteral(".png"), QStringLiteral(".svg")});
    if (path.isEmpty())
        return;
    try {
        page->chartView()->save(path);
    } catch (const Error& error) {
        prompter_.errorMessage(QStringLiteral("The chart could not be written to ") +
                                   QDir::toNativeSeparators(path) + QLatin1Char('\r') + error.description(),
                               title, Icon::Exclamation);
    }
}

void frmWorkbooks::openInSpreadsheetProgram()
{
    const int index = tabs_->currentIndex();
    if (index < 0 || index >= app_.workbookCount())
        return;
    const QString title = QStringLiteral("Open in Spreadsheet Program");
    if (openFolder_ == nullptr)
        openFolder_ =
            std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quorvane-workbooks-XXXXXX"));
    const QString path = openFolder_->filePath(app_.workbook(index).name + QStringLiteral(".xlsx"));
    if (!writeWorkbook(index, path, title))
        return;
    // The folder goes with this window: the message says how to keep the file.
    openFile(path, [this, path, title] {
        prompter_.errorMessage(
            QStringLiteral("No program is set up to open .xlsx files.\r"
                           "The workbook was saved as ") +
                QDir::toNativeSeparators(path) +
                QStringLiteral("\rIt stays there until this window closes; use File > Save As to keep it."),
            title, Icon::Exclamation);
    });
}

void frmWorkbooks::closeWorkbook()
{
    const int index = tabs_->currentIndex();
    if (index < 0)
        return;
    QWidget* page = tabs_->widget(index);
    tabs_->removeTab(index);
    delete page;
    app_.removeWorkbook(index);
    shownBooks_ = std::min(shownBooks_, app_.workbookCount());
    if (tabs_->count() == 0)
        close();
}

} // namespace qv::analysis
