// The round summary window, page breaks, print options, preview and printing.
#include "auction_fixture.h"
#include "grid/frm_flex_grid.h"
#include "grid/grid_print_action.h"
#include "print/frm_print_options.h"
#include "print/frm_print_preview.h"
#include "print/page_preview.h"
#include "shell/command_windows.h"
#include "shell/frm_main.h"
#include "shell/grid_window_factory.h"
#include "standings/frm_standings.h"
#include "store/session.h"
#include "summary/frm_summary.h"
#include "support/scratch_volume.h"
#include "support/scripted_prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using qv::grid::frmFlexGrid;
using qv::grid::SpreadGrid;
using qv::shell::frmMain;

namespace {

// A table of rows and columns of short numbers, as a grid shows a round.
std::shared_ptr<qv::store::Recordset> numbers(int rows, int columns)
{
    std::vector<qv::store::Field> fields;
    std::vector<qv::store::ColumnValues> values(static_cast<size_t>(columns));
    for (int c = 1; c <= columns; ++c) {
        fields.push_back({QStringLiteral("Col %1").arg(c), qv::store::FieldType::Double, false});
        for (int r = 1; r <= rows; ++r)
            values[size_t(c - 1)].appendDouble(double(r * 100 + c));
    }
    return std::make_shared<qv::store::Recordset>(
        std::weak_ptr<qv::store::Database>(), qv::store::RecordsetType::Snapshot, QString(), QStringList(),
        QString(), std::move(fields), std::move(values), QStringList());
}

std::vector<int> rowBoundaries(SpreadGrid& grid)
{
    std::vector<int> rows;
    for (int row = grid.nextPageBreakRow(); row != -1; row = grid.nextPageBreakRow())
        rows.push_back(row);
    return rows;
}

bool contains(const std::vector<int>& values, int value)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

QString cell(SpreadGrid& grid, int column, int row)
{
    grid.Col = column;
    grid.Row = row;
    return grid.text();
}

} // namespace

class PrintWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        printed_ = 0;
        QVERIFY(dir_->isValid());
        const QString path = qv::test::makeSmallAuction(dir_->path());
        {
            auto db = qv::store::Database::open(path);
            db->execute(QStringLiteral("DROP TABLE [Round Statistics]"));
            db->execute(QStringLiteral(
                "CREATE TABLE [Round Statistics] ([Round] Number, [Round Date] DateTime, [Stage] Number, "
                "[Net Bids] Currency, [Gross Bids] Currency, [Dollar Change in Net Bids] Currency, [New "
                "Bids] "
                "Number, [Total High Bids] Number, [Zelnar Held Licenses] Number, [Withdrawals] Number, "
                "[Eligibility Ratio] Double, [Pctg of BUs for High Bids] Double, [Bidders At Risk] Number, "
                "[Eligible Bidders] Number, [Waivers] Number, [Number Reduced] Number, [Pctg of Covered BUs] "
                "Double)"));
            db->execute(
                QStringLiteral("INSERT INTO [Round Statistics] VALUES "
                               "(1, #2/2/2026#, 1, 1000, 1000, 1000, 5, 1, 0, 0, 1, 10, 0, 2, 0, 0, 10), "
                               "(2, #2/2/2026#, 1, 3000, 3000, 2000, 6, 2, 0, 0, 1, 20, 0, 2, 0, 0, 20), "
                               "(3, #2/3/2026#, 1, 2500, 4000, -500, 7, 2, 0, 0, 1, 30, 0, 2, 0, 0, 30)"));
        }
        qv::OpenAuctionDatabase(path);
        prompter_ = std::make_unique<qv::test::ScriptedPrompter>();
        main_ = std::make_unique<frmMain>(prompter_.get());
        main_->setGridWindowFactory(qv::shell::gridWindowFactory());
        qv::shell::installCommandWindows(*main_);
        main_->show();
        pdf_ = dir_->filePath(QStringLiteral("out.pdf"));
        qv::grid::setPrinterChoice([this](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf_);
            ++printed_;
            return true;
        });
    }
    void cleanup()
    {
        main_.reset();
        qv::CloseAuctionDatabase();
    }

    void summaryShowsTheNewestRoundAndSwitchesTableCommandsOff()
    {
        main_->mnuClick(QStringLiteral("mnuViewSummary"));
        auto* summary = main_->findChild<qv::summary::frmSummary*>();
        QVERIFY(summary != nullptr);
        QCOMPARE(summary->windowTitle(), QStringLiteral("Round Summary"));
        QCOMPARE(summary->ddlRound->count(), 3);
        QCOMPARE(summary->ddlRound->currentText(), QStringLiteral("3"));
        SpreadGrid& sheet = *summary->vaSpread1;
        QCOMPARE(sheet.maxCols(), 5);
        QCOMPARE(sheet.maxRows(), 12);
        QCOMPARE(cell(sheet, 3, 1), QStringLiteral("Auction 5"));
        QCOMPARE(cell(sheet, 3, 2), QStringLiteral("Round 3"));
        QCOMPARE(cell(sheet, 1, 6), QStringLiteral("Net Bids"));
        QCOMPARE(cell(sheet, 2, 6), QStringLiteral("$2,500"));
        QCOMPARE(cell(sheet, 2, 9), QStringLiteral("-$500")); // against round 2, the day before
        QCOMPARE(cell(sheet, 4, 12), QStringLiteral("Bidders Raising Own High Bid"));
        const auto aligned = [&](int column, int row) {
            return Qt::Alignment(
                       sheet.model()->index(row - 1, column - 1).data(Qt::TextAlignmentRole).toInt()) &
                   Qt::AlignHorizontal_Mask;
        };
        QCOMPARE(aligned(2, 6), Qt::AlignRight);
        QCOMPARE(aligned(3, 1), Qt::AlignHCenter);
        QVERIFY(prompter_->messages.empty());

        summary->ddlRound->setCurrentIndex(2);
        QCOMPARE(cell(sheet, 3, 2), QStringLiteral("Round 1"));
        QCOMPARE(cell(sheet, 2, 9), QStringLiteral("$1,000")); // the first day counts from zero

        auto enabled = [this](const char* name) {
            return main_->findChild<QAction*>(QLatin1String(name))->isEnabled();
        };
        QVERIFY(!enabled("mnuFilePrint"));
        QVERIFY(!enabled("mnuPBreakSetRow"));
        QVERIFY(!enabled("mnuViewSummary"));
        QVERIFY(!enabled("tbPrintPreview"));
        QVERIFY(!enabled("tbExcelExp"));
        QVERIFY(enabled("tbNew"));
        QVERIFY(enabled("mnuFileImport"));

        // A grid window becomes active: the commands work again.
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        QVERIFY(enabled("mnuFilePrint") && enabled("mnuPBreakSetRow") && enabled("tbPrintPreview"));
        QMdiSubWindow* summaryWindow = nullptr;
        for (QMdiSubWindow* window : main_->mdiArea()->subWindowList())
            if (window->widget() == summary)
                summaryWindow = window;
        main_->mdiArea()->setActiveSubWindow(summaryWindow);
        QVERIFY(!enabled("mnuFilePrint") && !enabled("tbDropTable"));
        summary->cmdClose->click();
        QTRY_VERIFY(main_->findChild<qv::summary::frmSummary*>() == nullptr);
        QVERIFY(enabled("mnuFilePrint") && enabled("mnuViewSummary") && enabled("tbDropTable"));
    }

    void tableCommandsStayOffWhileAnySummaryIsActive()
    {
        main_->mnuClick(QStringLiteral("mnuViewSummary"));
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        main_->mnuClick(QStringLiteral("mnuViewSummary"));
        main_->mnuClick(QStringLiteral("mnuViewStandings"));
        QList<QMdiSubWindow*> summaries, grids, standings;
        for (QMdiSubWindow* window : main_->mdiArea()->subWindowList()) {
            if (qobject_cast<qv::summary::frmSummary*>(window->widget()))
                summaries << window;
            else
                (qobject_cast<frmFlexGrid*>(window->widget()) ? grids : standings) << window;
        }
        QCOMPARE(summaries.size(), 2);
        QCOMPARE(grids.size(), 1);
        QCOMPARE(standings.size(), 1);
        auto sortEnabled = [this] {
            return main_->findChild<QAction*>(QStringLiteral("mnuToolsSortTable"))->isEnabled();
        };
        // From one summary to the other and back, to the standings (which
        // turn them off too) and the grid window.
        const struct {
            QMdiSubWindow* window;
            bool commands;
        } steps[] = {{summaries[0], false}, {summaries[1], false}, {summaries[0], false},
                     {standings[0], false}, {summaries[1], false}, {grids[0], true},
                     {standings[0], false}, {grids[0], true}};
        for (const auto& step : steps) {
            main_->mdiArea()->setActiveSubWindow(step.window);
            QCOMPARE(sortEnabled(), step.commands);
        }
        // The active summary closed: the grid window's commands come back.
        main_->mdiArea()->setActiveSubWindow(summaries[0]);
        summaries[0]->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        main_->mdiArea()->setActiveSubWindow(grids[0]);
        QVERIFY(sortEnabled());
    }

    // In a frame smaller than they would be, child windows open wholly inside
    // its area, their buttons in reach; Close takes the whole child window.
    void childWindowsOpenInsideTheFrameAndCloseWhole()
    {
        main_->resize(520, 440);
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        main_->mnuClick(QStringLiteral("mnuViewSummary"));
        main_->mnuClick(QStringLiteral("mnuViewStandings"));
        const QRect area = main_->mdiArea()->viewport()->rect();
        const QList<QMdiSubWindow*> windows = main_->mdiArea()->subWindowList();
        QCOMPARE(windows.size(), 3);
        for (QMdiSubWindow* window : windows)
            QVERIFY2(area.contains(window->geometry()), qPrintable(window->windowTitle()));
        auto* summary = main_->findChild<qv::summary::frmSummary*>();
        auto* standings = main_->findChild<qv::standings::frmStandings*>();
        QVERIFY(summary != nullptr && standings != nullptr);
        QVERIFY(summary->cmdClose->isVisibleTo(main_.get()));

        summary->cmdClose->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(main_->mdiArea()->subWindowList().size(), 2);
        standings->cmdClose->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(main_->mdiArea()->subWindowList().size(), 1);
        QVERIFY(qobject_cast<frmFlexGrid*>(main_->mdiArea()->subWindowList().front()->widget()) != nullptr);
    }

    void summaryPrintsPortraitAnInchFromTheTop()
    {
        main_->mnuClick(QStringLiteral("mnuViewSummary"));
        auto* summary = main_->findChild<qv::summary::frmSummary*>();
        summary->cmdPrint->click();
        QCOMPARE(printed_, 1);
        const qv::print::PageSetup& setup = summary->vaSpread1->printSetup;
        QCOMPARE(setup.orientation, 1);
        QCOMPARE(setup.marginLeft, 700.0);
        QCOMPARE(setup.marginTop, 1440.0);
        QVERIFY(QFile(pdf_).size() > 0);
        QVERIFY(summary->vaSpread1->PrintAbortMsg.isEmpty());

        // Every label, figure and row number is printed whole: none cut short.
        // The document is named after the summary, not the frame.
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (pdftotext.isEmpty() || pdfinfo.isEmpty())
            QSKIP("pdftotext and pdfinfo (poppler-utils) read the printed file");
        const auto output = [](const QString& program, const QStringList& arguments) {
            QProcess reader;
            reader.start(program, arguments);
            reader.waitForFinished();
            return QString::fromUtf8(reader.readAllStandardOutput());
        };
        const QString text = output(pdftotext, {QStringLiteral("-layout"), pdf_, QStringLiteral("-")});
        QVERIFY2(!text.contains(QChar(0x2026)), qPrintable(text));
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            if (line.contains(QStringLiteral("Zelnar Held Licenses")))
                QVERIFY2(line.trimmed().startsWith(QStringLiteral("12 ")), qPrintable(line));
        }
        const QString info = output(pdfinfo, {pdf_});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title: +Round Summary\n"))),
                 qPrintable(info));
        QVERIFY(text.contains(QStringLiteral("Bidders Raising Own High Bid")));
    }

    void pageBreaksAreSetMarkedAndReset()
    {
        frmFlexGrid window(*prompter_);
        SpreadGrid& grid = *window.MSFlexGrid1;
        QCOMPARE(grid.printSetup.orientation, 2); // grid windows print across the page

        // A small table: one page, no boundaries, no marks.
        grid.setRecordset(numbers(5, 2));
        QCOMPARE(grid.nextPageBreakRow(), -1);
        QCOMPARE(grid.nextPageBreakCol(), -1);
        window.PBreak_Clear();
        window.PBreak_Refresh();
        for (int row = 1; row <= 5; ++row)
            QVERIFY(!grid.rowMarked(row));

        grid.setRecordset(numbers(60, 3));
        QSignalSpy menu(&window, &frmFlexGrid::pageBreakMenuWanted);
        window.MSFlexGrid1_RightClick(2, 20, QPoint(5, 5));
        QCOMPARE(menu.size(), 1);
        QCOMPARE(grid.Row, 20);
        QCOMPARE(grid.Col, 2);
        window.PBreak_SetRow();
        QVERIFY(grid.rowPageBreak(20));
        QVERIFY(grid.rowMarked(20));
        QVERIFY(contains(rowBoundaries(grid), 20));
        window.PBreak_SetCol();
        QVERIFY(grid.colMarked(2));
        QVERIFY(grid.printPageCount() >= 4);

        window.PBreak_DelRow();
        QVERIFY(!grid.rowPageBreak(20));
        QVERIFY(!grid.rowMarked(20));
        window.PBreak_SetRow();
        // Breaks survive a new round's rows; reset clears them all in one step.
        grid.setRecordset(numbers(40, 3));
        window.PBreak_Clear();
        window.PBreak_Refresh();
        QVERIFY(grid.rowMarked(20));
        window.PBreak_Remove();
        QVERIFY(!grid.rowPageBreak(20) && !grid.colPageBreak(2));
        QVERIFY(!grid.rowMarked(20) && !grid.colMarked(2));

        // A column wider than the page moves the boundaries and their marks.
        QVERIFY(!grid.colMarked(3));
        grid.setColumnWidth(1, 3000);
        QVERIFY(grid.colMarked(2));
        QVERIFY(grid.colMarked(3));

        // Every mark lies on a boundary the grid reports.
        const std::vector<int> rows = rowBoundaries(grid);
        for (int row = 1; row <= grid.maxRows(); ++row)
            QCOMPARE(grid.rowMarked(row), contains(rows, row));
    }

    void pageBreakMenuReachesTheActiveGrid()
    {
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* window = qobject_cast<frmFlexGrid*>(main_->activeChild());
        QVERIFY(window != nullptr);
        window->MSFlexGrid1->setRecordset(numbers(30, 2));
        window->MSFlexGrid1_RightClick(1, 12, QPoint(3, 3));
        main_->findChild<QAction*>(QStringLiteral("mnuPBreakSetRow"))->trigger();
        QVERIFY(window->MSFlexGrid1->rowMarked(12));
        main_->findChild<QAction*>(QStringLiteral("mnuPBreakReset"))->trigger();
        QVERIFY(!window->MSFlexGrid1->rowPageBreak(12));
    }

    void printOptionsReadAndWriteTheActiveGrid()
    {
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* window = qobject_cast<frmFlexGrid*>(main_->activeChild());
        SpreadGrid& grid = *window->MSFlexGrid1;
        grid.setRecordset(numbers(80, 2));

        auto* options = new qv::print::frmPrintOptions(window, *prompter_);
        QCOMPARE(options->windowTitle(), QStringLiteral("Print Options"));
        QCOMPARE(options->meLeft->displayText(), QStringLiteral("0.50"));
        QVERIFY(options->optLandscape->isChecked());
        options->meLeft->setText(QStringLiteral("1.25"));
        options->meBottom->setText(QStringLiteral("0.75"));
        options->optPortrait->setChecked(true);
        QPointer<QDialog> closed(options);
        options->cmdOK->click();
        QTRY_VERIFY(closed == nullptr);
        QCOMPARE(grid.printSetup.marginLeft, 1800.0);
        QCOMPARE(grid.printSetup.marginBottom, 1080.0);
        QCOMPARE(grid.printSetup.orientation, 1);
        // The marks follow the portrait pages.
        const std::vector<int> portrait = rowBoundaries(grid);
        QVERIFY(!portrait.empty());
        QVERIFY(grid.rowMarked(portrait.front()));

        // Shown again as set; another grid window keeps its own.
        options = new qv::print::frmPrintOptions(window, *prompter_);
        QCOMPARE(options->meLeft->displayText(), QStringLiteral("1.25"));
        QVERIFY(options->optPortrait->isChecked());
        options->meRight->setText(QStringLiteral("3.00"));
        options->cmdCancel->click();
        QCOMPARE(grid.printSetup.marginRight, 720.0);
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        options = new qv::print::frmPrintOptions(main_->activeChild(), *prompter_);
        QCOMPARE(options->meLeft->displayText(), QStringLiteral("0.50"));
        options->close();

        // A box without a number: the margins before it are written, nothing after.
        options = new qv::print::frmPrintOptions(window, *prompter_);
        options->meLeft->setText(QStringLiteral("2.00"));
        options->meTop->setText(QString());
        options->optLandscape->setChecked(true);
        options->cmdOK->click();
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].text,
                 QStringLiteral("Error: 13 Type mismatch\rEnter each margin in inches, for example 0.75."));
        QCOMPARE(grid.printSetup.marginLeft, 2880.0);
        QCOMPARE(grid.printSetup.marginTop, 720.0);
        QCOMPARE(grid.printSetup.orientation, 1);

        // A grid never given an orientation shows neither; OK makes it portrait.
        grid.printSetup.orientation = 0;
        options = new qv::print::frmPrintOptions(window, *prompter_);
        QVERIFY(!options->optLandscape->isChecked() && !options->optPortrait->isChecked());
        options->cmdOK->click();
        QCOMPARE(grid.printSetup.orientation, 1);

        // No grid window.
        prompter_->messages.clear();
        options = new qv::print::frmPrintOptions(nullptr, *prompter_);
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].text, QStringLiteral("You must have an active grid displayed."));
        QCOMPARE(prompter_->messages[0].title, QStringLiteral("Error!"));
        QCOMPARE(prompter_->messages[0].icon, qv::Icon::Exclamation);
        options->close();
    }

    // With no grid window, Print Setup and Print Preview say so, and nothing opens.
    void withoutAGridWindowNothingOpens()
    {
        int opened = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&opened] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                ++opened;
                dialog->close();
            }
        });
        closer.start(10);
        for (const char* item : {"mnuFilePrintSetup", "mnuFilePrintPreview"}) {
            prompter_->messages.clear();
            main_->mnuClick(QLatin1String(item));
            QCOMPARE(prompter_->messages.size(), size_t(1));
            QCOMPARE(prompter_->messages[0].text, QStringLiteral("You must have an active grid displayed."));
        }
        QCOMPARE(opened, 0);
        QVERIFY(main_->findChild<qv::print::frmPrintOptions*>() == nullptr);
        QVERIFY(main_->findChild<qv::print::frmPrintPreview*>() == nullptr);
    }

    // A margin that is not a number ends Print Setup with a message; the
    // keys then go back to the frame's active grid window, not to nowhere.
    void afterTheMarginErrorTheFrameHasTheKeys()
    {
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        QWidget* window = main_->activeChild();
        QTimer::singleShot(0, this, [] {
            auto* options = qobject_cast<qv::print::frmPrintOptions*>(QApplication::activeModalWidget());
            QVERIFY(options != nullptr);
            options->meTop->setText(QString());
            options->cmdOK->click();
        });
        main_->mnuClick(QStringLiteral("mnuFilePrintSetup"));
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(main_.get()));
        QVERIFY(QApplication::focusWidget() != nullptr);
        QVERIFY(window->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == window);
    }

    void printOptionsRefuseMarginsThatLeaveNoRoom()
    {
        frmFlexGrid window(*prompter_);
        SpreadGrid& grid = *window.MSFlexGrid1;
        grid.setRecordset(numbers(10, 2));
        // 8.5 inches across in portrait: 8.6 inches of margins leave no inch.
        auto* options = new qv::print::frmPrintOptions(&window, *prompter_);
        QPointer<QDialog> open(options);
        options->meLeft->setText(QStringLiteral("4.00"));
        options->meRight->setText(QStringLiteral("4.60"));
        options->optPortrait->setChecked(true);
        options->cmdOK->click();
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(
            prompter_->messages[0].text,
            QStringLiteral("The right margin is too large: the margins must leave at least an inch of the "
                           "page to print on, across and down."));
        QCOMPARE(prompter_->messages[0].title, QStringLiteral("Print Options"));
        QCOMPARE(prompter_->messages[0].icon, qv::Icon::Exclamation);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(open != nullptr); // still open, to be corrected
        QCOMPARE(grid.printSetup.marginLeft, 720.0);
        QCOMPARE(grid.printSetup.marginRight, 720.0);
        QCOMPARE(grid.printSetup.orientation, 2);
        // Eleven inches across the page on its side: accepted.
        options->optLandscape->setChecked(true);
        options->cmdOK->click();
        QTRY_VERIFY(open == nullptr);
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(grid.printSetup.marginRight, 4.6 * 1440);
    }

    void printedColumnsHoldEveryValue()
    {
        // The longest text is below the rows the screen's widths look at.
        const QString longest =
            QStringLiteral("Harbor Communications of the Greater Northwestern Seaboard, Incorporated");
        std::vector<qv::store::Field> fields{{QStringLiteral("Bidder"), qv::store::FieldType::Text, false}};
        std::vector<qv::store::ColumnValues> values(1);
        for (int r = 1; r <= 150; ++r)
            values[0].appendText((r == 140 ? longest : QStringLiteral("Heron")).toStdString());
        frmFlexGrid window(*prompter_);
        SpreadGrid& grid = *window.MSFlexGrid1;
        grid.setRecordset(std::make_shared<qv::store::Recordset>(
            std::weak_ptr<qv::store::Database>(), qv::store::RecordsetType::Snapshot, QString(),
            QStringList(), QString(), std::move(fields), std::move(values), QStringList()));
        const qv::print::PrintJob job = grid.printJob();
        const double needed = QFontMetricsF(job.font).horizontalAdvance(longest) + 2 * qv::print::CellPadding;
        QVERIFY2(job.sheet.columnWidths.at(0) >= needed,
                 qPrintable(QStringLiteral("%1 < %2").arg(job.sheet.columnWidths.at(0)).arg(needed)));
        // Other rows are measured again.
        grid.setRecordset(numbers(3, 1));
        QVERIFY(grid.printJob().sheet.columnWidths.at(0) < needed / 2);
    }

    void previewTurnsPagesZoomsAndPrints()
    {
        frmFlexGrid window(*prompter_);
        SpreadGrid& grid = *window.MSFlexGrid1;
        grid.setRecordset(numbers(120, 2));
        const int pages = grid.printPageCount();
        QVERIFY(pages >= 3);

        auto* preview = new qv::print::frmPrintPreview(&window, *prompter_);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Print Preview"));
        QCOMPARE(preview->txtPage->text(), QStringLiteral("Page 1 of %1").arg(pages));
        preview->Toolbar1_ButtonClick(QStringLiteral("Previous"));
        QCOMPARE(preview->vaSpreadPreview1->currentPage(), 1);
        preview->Toolbar1->actions().at(1)->trigger(); // Next
        QCOMPARE(preview->txtPage->text(), QStringLiteral("Page 2 of %1").arg(pages));
        for (int i = 0; i < pages + 2; ++i)
            preview->Toolbar1_ButtonClick(QStringLiteral("Next"));
        QCOMPARE(preview->vaSpreadPreview1->currentPage(), pages);
        preview->Toolbar1_ButtonClick(QStringLiteral("next")); // keys are exact
        QCOMPARE(preview->txtPage->text(), QStringLiteral("Page %1 of %1").arg(pages));

        const QSize full = preview->vaSpreadPreview1->pageSize();
        preview->cmbZoom->setCurrentText(QStringLiteral("50%"));
        preview->cmbZoom_Click();
        QCOMPARE(preview->vaSpreadPreview1->pageSize().width(), full.width() / 2);
        preview->cmbZoom->setCurrentText(QStringLiteral("100%"));
        preview->cmbZoom_Click();
        QCOMPARE(preview->vaSpreadPreview1->pageSize(), full);
        // Landscape pages are wider than tall.
        QVERIFY(full.width() > full.height());

        QPointer<QDialog> closed(preview);
        preview->cmdPrint->click();
        QCOMPARE(printed_, 1);
        QTRY_VERIFY(closed == nullptr);
        QVERIFY(QFile(pdf_).size() > 0);

        // One page: nothing to turn.
        grid.setRecordset(numbers(3, 1));
        preview = new qv::print::frmPrintPreview(&window, *prompter_);
        preview->Toolbar1_ButtonClick(QStringLiteral("Next"));
        QCOMPARE(preview->txtPage->text(), QStringLiteral("Page 1 of 1"));
        preview->close();

        preview = new qv::print::frmPrintPreview(nullptr, *prompter_);
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].text, QStringLiteral("You must have an active grid displayed."));
        QVERIFY(!preview->vaSpreadPreview1->isBound());
        preview->close();
    }

    void printGridWritesEveryPage()
    {
        frmFlexGrid window(*prompter_);
        window.MSFlexGrid1->setRecordset(numbers(150, 4));
        window.PrintGrid();
        QCOMPARE(printed_, 1);
        QCOMPARE(window.MSFlexGrid1->PrintAbortMsg, QStringLiteral("Printing - Click Cancel to quit"));
        QFile pdf(pdf_);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QCOMPARE(int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page ") + bytes.count("/Type /Page/")),
                 window.MSFlexGrid1->printPageCount());
        QVERIFY(prompter_->messages.empty());
    }

    // A PDF chosen in the print dialog is written by the one writer of output
    // files: on a full disk the error box says so, and the earlier file stays.
    void printingToAFullDiskKeepsTheEarlierPdf()
    {
        qv::test::ScratchVolume volume(256, false);
        if (!volume.isMounted())
            QSKIP("cannot mount a small file system here (needs the right to mount)");
        pdf_ = QDir(volume.path()).filePath(QStringLiteral("out.pdf"));
        QFile earlier(pdf_);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("the earlier report");
        earlier.close();
        volume.fillLeaving(4096);
        frmFlexGrid window(*prompter_);
        window.MSFlexGrid1->setRecordset(numbers(150, 4)); // pages of well over 4 KB
        window.PrintGrid();
        QCOMPARE(int(prompter_->messages.size()), 1);
        QVERIFY2(prompter_->messages[0].text.startsWith(QStringLiteral("Error 61: Disk full")),
                 qPrintable(prompter_->messages[0].text));
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("the earlier report"));
        QCOMPARE(QDir(volume.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{QStringLiteral("filler"), QStringLiteral("out.pdf")}));
    }

    // With QV_SCREENSHOT_AUCTION and QV_SCREENSHOT_DIR set: the round summary
    // of that auction in the frame, "All Bids" of its newest round with a row
    // and a column break, its print preview at 50% and both printed as PDF (round-summary.png,
    // all-bids-breaks.png, print-preview.png, print-preview-2.png, round-summary.pdf, all-bids.pdf).
    void screenshotsOfSummaryAndPreview()
    {
        const QString auction = qEnvironmentVariable("QV_SCREENSHOT_AUCTION");
        const QString folder = qEnvironmentVariable("QV_SCREENSHOT_DIR");
        if (auction.isEmpty() || folder.isEmpty())
            QSKIP("QV_SCREENSHOT_AUCTION and QV_SCREENSHOT_DIR name the auction and where the pictures go");
        main_.reset();
        qv::CloseAuctionDatabase();
        qv::OpenAuctionDatabase(auction);
        main_ = std::make_unique<frmMain>(prompter_.get());
        main_->setGridWindowFactory(qv::shell::gridWindowFactory());
        qv::shell::installCommandWindows(*main_);
        main_->resize(1000, 560);
        main_->show();
        main_->mnuClick(QStringLiteral("mnuViewSummary"));
        QTest::qWait(300);
        QVERIFY(main_->grab().save(QDir(folder).filePath(QStringLiteral("round-summary.png"))));
        pdf_ = QDir(folder).filePath(QStringLiteral("round-summary.pdf"));
        main_->findChild<qv::summary::frmSummary*>()->cmdPrint->click();

        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* window = qobject_cast<frmFlexGrid*>(main_->activeChild());
        QVERIFY(window != nullptr);
        window->ddlTableName_DropDown();
        window->ddlTableName->setCurrentIndex(window->ddlTableName->findText(QStringLiteral("All Bids")));
        QVERIFY(window->MSFlexGrid1->maxRows() > 12);
        window->MSFlexGrid1_RightClick(8, 12, QPoint(3, 3));
        window->PBreak_SetRow();
        window->PBreak_SetCol();
        QTest::qWait(200);
        QVERIFY(main_->grab().save(QDir(folder).filePath(QStringLiteral("all-bids-breaks.png"))));

        auto* preview = new qv::print::frmPrintPreview(window, *prompter_);
        preview->resize(760, 560);
        preview->show();
        preview->cmbZoom->setCurrentText(QStringLiteral("50%"));
        preview->cmbZoom_Click();
        QTest::qWait(300);
        QVERIFY(preview->grab().save(QDir(folder).filePath(QStringLiteral("print-preview.png"))));
        preview->Toolbar1_ButtonClick(QStringLiteral("Next"));
        QTest::qWait(200);
        QVERIFY(preview->grab().save(QDir(folder).filePath(QStringLiteral("print-preview-2.png"))));
        // Printed as a user does on a machine without a printer: the platform's
        // print dialog, "Print to File (PDF)".
        const QString pdf = QDir(folder).filePath(QStringLiteral("all-bids.pdf"));
        QFile::remove(pdf);
        bool dialogShown = false;
        qv::grid::setPrinterChoice([&](QPrinter& printer, QWidget* parent) {
            QPrintDialog dialog(&printer, parent);
            QTimer::singleShot(500, &dialog, [&] {
                dialogShown = true;
                auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
                auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
                if (printers != nullptr)
                    printers->setCurrentIndex(printers->findText(QStringLiteral("Print to File (PDF)")));
                if (file != nullptr)
                    file->setText(pdf);
                dialog.grab().save(QDir(folder).filePath(QStringLiteral("print-dialog.png")));
                dialog.accept();
            });
            return dialog.exec() == QDialog::Accepted;
        });
        preview->cmdPrint->click();
        QVERIFY(dialogShown);
        QVERIFY(QFile(pdf).size() > 0);
        QVERIFY(prompter_->messages.empty());
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<qv::test::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> main_;
    QString pdf_;
    int printed_ = 0;
};

QTEST_MAIN(PrintWindowsTest)
#include "print_windows_test.moc"
