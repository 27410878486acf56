// The analysis dialogs, the analyses run from a grid window, and the workbook
// window they fill.
#include "analysis/core/pivot_table.h"
#include "analysis/desktop_opener.h"
#include "analysis/frm_pivot_list.h"
#include "analysis/frm_rounds.h"
#include "analysis/frm_workbooks.h"
#include "analysis/pivot_chart_view.h"
#include "analysis/pivot_view.h"
#include "analysis/qt_analysis_dialogs.h"
#include "analysis/workbook_page.h"
#include "grid/frm_flex_grid.h"
#include "store/session.h"
#include "support/access_keys.h"
#include "support/bid_auction.h"
#include "support/scripted_analysis_dialogs.h"
#include "support/scripted_prompter.h"

#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QValueAxis>

using namespace qv;
using analysis::QtAnalysisDialogs;

namespace {

// Presses a button of the modal dialog about to run.
void pressLater(std::function<QPushButton*()> button)
{
    QTimer::singleShot(0, [button] { button()->click(); });
}

struct BidRow {
    int round;
    QString bidder;
    double gross;
};

// A new workbook whose Sheet1 holds a Round, Bidder and Gross heading and the
// rows made by row(0) to row(rows - 1), with a pivot table of the gross bids
// by round and bidder over them; then the application is shown.
void showBidPivot(analysis::SpreadsheetApplication& app, int rows, const std::function<BidRow(int)>& row)
{
    app.addWorkbook();
    app.activateSheet(QStringLiteral("sheet1"));
    app.setCell(1, 1, QStringLiteral("Round"));
    app.setCell(1, 2, QStringLiteral("Bidder"));
    app.setCell(1, 3, QStringLiteral("Gross"));
    for (int i = 0; i < rows; ++i) {
        const BidRow values = row(i);
        app.setCell(i + 2, 1, values.round);
        app.setCell(i + 2, 2, values.bidder);
        app.setCell(i + 2, 3, values.gross);
    }
    app.pivotTableWizard(analysis::SourceTypeDatabase, QStringLiteral("Sheet1!C1:C3"), QString(),
                         QStringLiteral("PivotTable1"));
    app.addPivotFields(QStringLiteral("PivotTable1"), {QStringLiteral("Round")}, {QStringLiteral("Bidder")});
    app.setPivotFieldOrientation(QStringLiteral("PivotTable1"), QStringLiteral("Gross"),
                                 analysis::PivotOrientation::Data);
    app.setVisible(true);
}

} // namespace

class AnalysisWindowTest : public QObject {
    Q_OBJECT
private slots:
    void roundDialogFieldsAndButtons()
    {
        QtAnalysisDialogs& dialogs = QtAnalysisDialogs::shared();
        dialogs.unloadRounds();
        bool stillOpen = false;
        QWidget* reached = nullptr;
        // First shown: gross bids; the fields take four digits and nothing else.
        pressLater([&] {
            analysis::frmRounds* d = dialogs.roundsDialog();
            QTest::keyClicks(d->mskFrom, QStringLiteral("12a345"));
            QTest::keyClicks(d->mskTo, QStringLiteral("7"));
            // Enter and Escape press no button, and the dialog says so and
            // what does: Tab from To reaches OK past the two bid types.
            QTest::keyClick(d, Qt::Key_Escape);
            QTest::keyClick(d->mskTo, Qt::Key_Return);
            stillOpen = d->isVisible();
            d->mskTo->setFocus();
            QTest::keyClick(d->mskTo, Qt::Key_Tab);
            QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
            QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
            reached = d->focusWidget();
            return d->cmdOK;
        });
        dialogs.showRounds();
        QVERIFY(dialogs.roundsDialog() != nullptr);
        QCOMPARE(dialogs.roundsDialog()->windowTitle(), QStringLiteral("Select Rounds & Bid Type"));
        QVERIFY(stillOpen);
        QCOMPARE(reached, dialogs.roundsDialog()->cmdOK);
        for (const char* words : {"Enter and Escape", "Tab", "OK", "Cancel", "Space"})
            QVERIFY(dialogs.roundsDialog()->lblHowToProceed->text().contains(QLatin1String(words)));
        QVERIFY(dialogs.grossSelected());
        QVERIFY(!dialogs.roundsCancelled());
        QCOMPARE(dialogs.fromText(), QStringLiteral("1234"));
        QCOMPARE(dialogs.toText(), QStringLiteral("7"));
        for (QPushButton* b : {dialogs.roundsDialog()->cmdOK, dialogs.roundsDialog()->cmdCancel})
            QVERIFY(!b->isDefault() && !b->autoDefault());

        // Shown again, it keeps what was typed; Cancel sets the flag.
        pressLater([&] {
            dialogs.roundsDialog()->optNet->setChecked(true);
            return dialogs.roundsDialog()->cmdCancel;
        });
        dialogs.showRounds();
        QVERIFY(dialogs.roundsCancelled());
        QCOMPARE(dialogs.fromText(), QStringLiteral("1234"));
        QVERIFY(!dialogs.grossSelected());
        // Unloaded, it comes back as first loaded.
        dialogs.unloadRounds();
        pressLater([&] { return dialogs.roundsDialog()->cmdOK; });
        dialogs.showRounds();
        QVERIFY(!dialogs.roundsCancelled());
        QVERIFY(dialogs.fromText().isEmpty());
        QVERIFY(dialogs.grossSelected());
        dialogs.unloadRounds();
    }

    void criteriaListSelectsManyAndForgetsACancel()
    {
        QtAnalysisDialogs& dialogs = QtAnalysisDialogs::shared();
        dialogs.fillCriteria({QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")},
                             QStringLiteral("Select the Bidders to Analyze"));
        QCOMPARE(dialogs.criteriaDialog()->Label1->text(), QStringLiteral("Select the Bidders to Analyze"));
        QCOMPARE(dialogs.criteriaDialog()->List1->selectionMode(), QAbstractItemView::ExtendedSelection);
        pressLater([&] { return dialogs.criteriaDialog()->cmdCancel; });
        dialogs.showCriteria();
        QVERIFY(dialogs.criteriaCancelled());

        // The next analysis refills the list: its OK reads as OK.
        dialogs.fillCriteria({QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")},
                             QStringLiteral("Select the Licenses to Analyze"));
        QVERIFY(!dialogs.criteriaCancelled());
        pressLater([&] {
            QListWidget* list = dialogs.criteriaDialog()->List1;
            list->item(2)->setSelected(true);
            list->item(0)->setSelected(true);
            return dialogs.criteriaDialog()->cmdOK;
        });
        dialogs.showCriteria();
        QVERIFY(!dialogs.criteriaCancelled());
        QCOMPARE(dialogs.selectedCriteria(), (QStringList{QStringLiteral("C"), QStringLiteral("B")}));
        QCOMPARE(dialogs.criteriaDialog()->List1->count(), 3);
    }

    void progressWindowCounts()
    {
        QtAnalysisDialogs& dialogs = QtAnalysisDialogs::shared();
        dialogs.openProgress(40, QStringLiteral("Pivot Table Progress"));
        QCOMPARE(dialogs.progressWindow()->windowTitle(), QStringLiteral("Pivot Table Progress"));
        QCOMPARE(dialogs.progressWindow()->maximum(), 40);
        dialogs.setProgress(12);
        QCOMPARE(dialogs.progressWindow()->value(), 12);
        dialogs.closeProgress();
        QVERIFY(dialogs.progressWindow() == nullptr);
    }

    void analysesFromAGridWindowFillItsWorkbookWindow()
    {
        QTemporaryDir folder;
        OpenAuctionDatabase(test::makeBidAuction(folder.path()));
        test::ScriptedPrompter prompter;
        test::ScriptedAnalysisDialogs dialogs;
        analysis::useAnalysisDialogs(&dialogs);
        grid::frmFlexGrid grid(prompter);
        grid.ddlRoundNum->addItems(
            {QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")});

        dialogs.roundEntries = {{QStringLiteral("2"), QStringLiteral("3")}};
        dialogs.choose = {QStringLiteral("A-1")};
        QVERIFY(QMetaObject::invokeMethod(&grid, "MarketsAnalysis"));
        QPointer<analysis::frmWorkbooks> window = grid.workbookWindow;
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Quorvane Workbooks"));
        QCOMPARE(window->tabs()->count(), 1);
        QCOMPARE(window->tabs()->tabText(0), QStringLiteral("Book1"));
        auto* page = qobject_cast<analysis::WorkbookPage*>(window->tabs()->widget(0));
        QVERIFY(page != nullptr);
        const analysis::PivotResult& pivot = page->pivotView()->pivotModel()->pivot();
        QCOMPARE(pivot.dataCaption, QStringLiteral("Sum of Gross Bid Amount"));
        QCOMPARE(pivot.rowCount(), 2);
        QCOMPARE(pivot.columnCount(), 3);
        QVERIFY(!window->grab().isNull()); // the nested headers paint
        // Sheet1 shows the amounts (J and K) with their thousands, other numbers as they are.
        const QAbstractItemModel* sheet = page->findChild<QTableView*>(QStringLiteral("sheetView"))->model();
        QCOMPARE(sheet->index(1, 9).data().toString(), QStringLiteral("1,300"));
        QCOMPARE(sheet->index(1, 10).data().toString(), QStringLiteral("975"));
        QCOMPARE(sheet->index(1, 8).data().toString(), QStringLiteral("2"));
        QCOMPARE(sheet->index(0, 9).data().toString(), QStringLiteral("Gross Bid Amount"));

        // The rounds analysis adds a second workbook to the same window.
        dialogs.roundEntries = {{QStringLiteral("1"), QStringLiteral("4"), false}};
        QVERIFY(QMetaObject::invokeMethod(&grid, "RoundsAnalysis"));
        QCOMPARE(grid.workbookWindow.data(), window.data());
        QCOMPARE(window->tabs()->count(), 2);
        QCOMPARE(window->tabs()->currentIndex(), 1);
        QVERIFY(prompter.messages.empty());

        // A round list filled before rounds 3 and 4 arrived: the range is
        // checked against the auction's four rounds, not the list's two.
        grid.ddlRoundNum->clear();
        grid.ddlRoundNum->addItems({QStringLiteral("2"), QStringLiteral("1")});
        dialogs.roundEntries = {{QStringLiteral("3"), QStringLiteral("4")}};
        QVERIFY(QMetaObject::invokeMethod(&grid, "RoundsAnalysis"));
        QCOMPARE(window->tabs()->count(), 3);
        QVERIFY(prompter.messages.empty());

        // Closed by the user, it comes back with the next analysis.
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window == nullptr);
        dialogs.roundEntries = {{QStringLiteral("1"), QString()}};
        dialogs.choose = {QStringLiteral("Heron")};
        QVERIFY(QMetaObject::invokeMethod(&grid, "BiddersAnalysis"));
        QVERIFY(grid.workbookWindow != nullptr);
        QCOMPARE(grid.workbookWindow->tabs()->count(), 1);
        delete grid.workbookWindow.data();

        // Without an auction: the error report.
        CloseAuctionDatabase();
        session().CurrentDatabase.reset();
        dialogs.roundEntries = {{QStringLiteral("1"), QString()}};
        QVERIFY(QMetaObject::invokeMethod(&grid, "RoundsAnalysis"));
        QCOMPARE(prompter.messages.size(), size_t(1));
        QVERIFY(prompter.messages.back().text.startsWith(QStringLiteral("Error 91: ")));
        QCOMPARE(prompter.busyDepth, 0);
        analysis::useAnalysisDialogs(nullptr);
    }

    // With QV_SCREENSHOT_AUCTION and QV_SCREENSHOT set: the markets analysis
    // of rounds 3 to 8 on three licences, then the rounds analysis of every
    // round, and a picture of the workbook window (for the documentation).
    void screenshotOfTheWorkbookWindow()
    {
        const QString auction = qEnvironmentVariable("QV_SCREENSHOT_AUCTION");
        const QString picture = qEnvironmentVariable("QV_SCREENSHOT");
        if (auction.isEmpty() || picture.isEmpty())
            QSKIP("QV_SCREENSHOT_AUCTION and QV_SCREENSHOT name the auction and the picture to take");
        OpenAuctionDatabase(auction);
        test::ScriptedPrompter prompter;
        test::ScriptedAnalysisDialogs dialogs;
        analysis::useAnalysisDialogs(&dialogs);
        grid::frmFlexGrid grid(prompter);
        for (int round = 12; round >= 1; --round)
            grid.ddlRoundNum->addItem(QString::number(round));
        dialogs.roundEntries = {{QStringLiteral("3"), QStringLiteral("8")}};
        dialogs.choose = {QStringLiteral("B001-A1"), QStringLiteral("B002-B1"), QStringLiteral("B003-C2")};
        QVERIFY(QMetaObject::invokeMethod(&grid, "MarketsAnalysis"));
        dialogs.roundEntries = {{QStringLiteral("1"), QStringLiteral("12")}};
        QVERIFY(QMetaObject::invokeMethod(&grid, "RoundsAnalysis"));
        QVERIFY(prompter.messages.empty());
        analysis::frmWorkbooks* window = grid.workbookWindow;
        window->resize(1100, 640);
        window->tabs()->setCurrentIndex(0);
        QTest::qWait(300);
        QVERIFY(window->grab().save(picture));
        delete window;
        CloseAuctionDatabase();
        analysis::useAnalysisDialogs(nullptr);
    }

    void workbooksSaveAsXlsxAndOpenInAProgram()
    {
        test::ScriptedPrompter prompter;
        analysis::frmWorkbooks window(prompter);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        // "Save Chart As..." and "Close" each have a key of their own.
        const QMenu* file = window.menuBar()->findChildren<QMenu*>().value(0);
        QVERIFY(file != nullptr);
        QCOMPARE(test::repeatedAccessKeys(*file), QStringList());
        analysis::SpreadsheetApplication& app = window.application();
        // Two thousand bidders (and a total column): more pivot columns than Calc's sheets hold.
        showBidPivot(app, 2000, [](int i) {
            return BidRow{1 + i % 3, QStringLiteral("Bidder %1").arg(i), 1000.0 + i};
        });
        QCOMPARE(window.tabs()->count(), 1);

        QTemporaryDir folder;
        prompter.files = {folder.filePath(QStringLiteral("bids"))};
        window.saveAs();
        QCOMPARE(prompter.fileChoices.back().filter, QStringLiteral("Excel Workbook (*.xlsx)|*.xlsx"));
        QCOMPARE(prompter.fileChoices.back().fileName, QStringLiteral("Book1.xlsx"));
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("bids.xlsx"))).size() > 0);
        // Said before it was written: programs will cut the pivot table.
        QCOMPARE(prompter.messages.size(), size_t(1));
        QVERIFY(prompter.messages.front().text.contains(QStringLiteral("2002 columns")));
        QVERIFY(!prompter.messages.front().isError);

        QString opened;
        window.openFile = [&opened](const QString& path, const std::function<void()>& failed) {
            opened = path;
            failed();
        };
        window.openInSpreadsheetProgram();
        QVERIFY(opened.endsWith(QStringLiteral("/Book1.xlsx")));
        QVERIFY(QFileInfo(opened).size() > 0);
        // No program to open it with: said, with where the file is.
        QVERIFY(prompter.messages.back().isError);
        QCOMPARE(
            prompter.messages.back().text,
            QStringLiteral("No program is set up to open .xlsx files.\rThe workbook was saved as ") +
                QDir::toNativeSeparators(opened) +
                QStringLiteral("\rIt stays there until this window closes; use File > Save As to keep it."));
        window.closeWorkbook();
        QCOMPARE(window.workbooks().workbookCount(), 0);
    }

    // The desktop's opener tells by its exit status, after a while, whether a
    // program took the file; only a failure, or an opener that cannot start,
    // is reported, and not to a window already gone.
    void desktopOpenerReportsOnlyAFailure()
    {
        QTemporaryDir folder;
        const auto opener = [&folder](const char* name, int code) {
            const QString path = folder.filePath(QLatin1String(name));
            QFile script(path);
            if (!script.open(QIODevice::WriteOnly))
                return QString();
            script.write("#!/bin/sh\nsleep 0.2\nexit " + QByteArray::number(code) + "\n");
            script.close();
            script.setPermissions(script.permissions() | QFile::ExeOwner);
            return path;
        };
        const struct {
            QString opener;
            bool livesOn;
            int failures;
        } cases[] = {
            {opener("none", 3), true, 1},  {opener("fails", 4), true, 1},
            {opener("opens", 0), true, 0}, {folder.filePath(QStringLiteral("missing")), true, 1},
            {opener("late", 3), false, 0},
        };
        for (const auto& c : cases) {
            int failures = 0;
            auto* context = new QObject;
            analysis::openWithDesktop(
                folder.filePath(QStringLiteral("Book1.xlsx")), context, [&failures] { ++failures; },
                c.opener);
            if (!c.livesOn)
                delete context;
            QTest::qWait(600);
            QCOMPARE(failures, c.failures);
            if (c.livesOn)
                delete context;
        }
    }

    void chartShowsTheChosenGroupsAndSavesAsPngOrSvg()
    {
        test::ScriptedPrompter prompter;
        analysis::frmWorkbooks window(prompter);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        analysis::SpreadsheetApplication& app = window.application();
        // Twelve bidders in two rounds; Bidder 0 and 1 bid least in round 2.
        showBidPivot(app, 24, [](int i) {
            return BidRow{1 + i / 12, QStringLiteral("Bidder %1").arg(i % 12, 2, 10, QLatin1Char('0')),
                          100.0 * (i + 1)};
        });
        auto* page = qobject_cast<analysis::WorkbookPage*>(window.tabs()->currentWidget());
        QVERIFY(page != nullptr && page->chartView() != nullptr);
        analysis::PivotChartView* chart = page->chartView();
        QAbstractItemModel* groups = chart->groupList()->model();
        const auto tick = [groups](int row) {
            return groups->data(groups->index(row, 0), Qt::CheckStateRole).value<Qt::CheckState>();
        };
        const auto setTick = [groups](int row, Qt::CheckState state) {
            QVERIFY(groups->setData(groups->index(row, 0), state, Qt::CheckStateRole));
        };
        QCOMPARE(groups->rowCount(), 12);
        // Only the shown groups have a line at first; a group gets its line
        // when it is first ticked.
        QCOMPARE(chart->chart()->series().size(), 10);
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(tick(i), i < 2 ? Qt::Unchecked : Qt::Checked);
            QVERIFY(groups->flags(groups->index(i, 0)).testFlag(Qt::ItemIsUserCheckable));
            QCOMPARE(chart->line(i) != nullptr, i >= 2);
            if (i >= 2) {
                QVERIFY(chart->line(i)->isVisible());
                QCOMPARE(chart->line(i)->name(), groups->index(i, 0).data().toString());
            }
        }
        setTick(0, Qt::Checked);
        setTick(5, Qt::Unchecked);
        QCOMPARE(tick(0), Qt::Checked);
        QCOMPARE(tick(5), Qt::Unchecked);
        QCOMPARE(chart->chart()->series().size(), 11);
        QVERIFY(chart->line(0) != nullptr && chart->line(0)->isVisible());
        QCOMPARE(chart->line(0)->name(), QStringLiteral("Bidder 00"));
        // Bidder 00 bid 100 in round 1 and 1,300 in round 2.
        QCOMPARE(chart->line(0)->points(), (QList<QPointF>{QPointF(1, 100), QPointF(2, 1300)}));
        QVERIFY(!chart->line(5)->isVisible());
        setTick(0, Qt::Unchecked);
        setTick(0, Qt::Checked);
        QCOMPARE(chart->chart()->series().size(), 11); // made once
        // The amounts' axis follows the lines on show: with Bidder 00's alone
        // (1,300 at most) it shrinks, and grows again for a bigger line.
        auto* amounts = qobject_cast<QValueAxis*>(chart->chart()->axes(Qt::Vertical).value(0));
        QVERIFY(amounts != nullptr);
        const double allShown = amounts->max();
        QVERIFY(allShown >= 2400);
        for (int i = 1; i < 12; ++i)
            setTick(i, Qt::Unchecked);
        QVERIFY2(amounts->max() >= 1300 && amounts->max() < allShown,
                 qPrintable(QString::number(amounts->max())));
        setTick(11, Qt::Checked);
        QVERIFY(amounts->max() >= 2400);
        // With every group shown, no two lines look alike.
        QSet<QString> looks;
        for (int i = 0; i < 12; ++i) {
            setTick(i, Qt::Checked);
            const QPen pen = chart->line(i)->pen();
            looks << pen.color().name() + QString::number(int(pen.style()));
        }
        QCOMPARE(looks.size(), 12);

        QTemporaryDir folder;
        prompter.files = {folder.filePath(QStringLiteral("bids")),
                          folder.filePath(QStringLiteral("bids.svg")), QString()};
        window.saveChartAs();
        QCOMPARE(prompter.fileChoices.back().title, QStringLiteral("Save Chart As"));
        QCOMPARE(prompter.fileChoices.back().fileName, QStringLiteral("Book1.png"));
        QImage png;
        QVERIFY(png.load(folder.filePath(QStringLiteral("bids.png")), "PNG"));
        QCOMPARE(png.size(), QSize(1200, 700));
        window.saveChartAs();
        QFile svg(folder.filePath(QStringLiteral("bids.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.readAll().contains("<svg"));
        window.saveChartAs(); // cancelled: nothing more
        QVERIFY(prompter.messages.empty());
        // Saving did not take the chart from its view.
        QCOMPARE(chart->chart()->scene(), chart->findChild<QChartView*>()->scene());
    }

    // A round without bids breaks a line instead of joining across it: one
    // legend entry and one tick for the line, its pieces shown and hidden with it.
    void aLineBreaksOverRoundsWithoutBids()
    {
        test::ScriptedPrompter prompter;
        analysis::frmWorkbooks window(prompter);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        // Able bids in rounds 1, 2 and 4, Baker in every round 1 to 4.
        const BidRow rows[] = {{1, QStringLiteral("Able"), 10},  {2, QStringLiteral("Able"), 20},
                               {4, QStringLiteral("Able"), 40},  {1, QStringLiteral("Baker"), 11},
                               {2, QStringLiteral("Baker"), 21}, {3, QStringLiteral("Baker"), 31},
                               {4, QStringLiteral("Baker"), 41}};
        showBidPivot(window.application(), 7, [&rows](int i) { return rows[i]; });
        auto* page = qobject_cast<analysis::WorkbookPage*>(window.tabs()->currentWidget());
        QVERIFY(page != nullptr && page->chartView() != nullptr);
        analysis::PivotChartView* view = page->chartView();
        QChart* chart = view->chart();
        QCOMPARE(chart->series().size(), 3);
        QCOMPARE(view->line(0)->name(), QStringLiteral("Able"));
        QCOMPARE(view->line(0)->points(), (QList<QPointF>{QPointF(1, 10), QPointF(2, 20)}));
        QCOMPARE(view->line(1)->points().size(), 4);
        window.show();
        QCoreApplication::processEvents();
        QSet<QString> legend;
        int entries = 0;
        for (QLegendMarker* marker : chart->legend()->markers()) {
            if (marker->isVisible()) {
                ++entries;
                legend << marker->label();
            }
        }
        QCOMPARE(entries, 2);
        QCOMPARE(legend, (QSet<QString>{QStringLiteral("Able"), QStringLiteral("Baker")}));
        QLineSeries* piece = nullptr;
        for (QAbstractSeries* series : chart->series()) {
            if (series != view->line(0) && series != view->line(1))
                piece = qobject_cast<QLineSeries*>(series);
        }
        QVERIFY(piece != nullptr);
        QCOMPARE(piece->points(), (QList<QPointF>{QPointF(4, 40)}));
        QCOMPARE(piece->pen().color(), view->line(0)->pen().color());
        QAbstractItemModel* groups = view->groupList()->model();
        QCOMPARE(groups->rowCount(), 2);
        QVERIFY(groups->setData(groups->index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
        QVERIFY(!piece->isVisible());
        QVERIFY(groups->setData(groups->index(0, 0), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(piece->isVisible());
    }

    // A chart over one round shows its points in the middle of the plot,
    // not on its edge.
    void aChartOverOneRoundShowsItsPoints()
    {
        test::ScriptedPrompter prompter;
        analysis::frmWorkbooks window(prompter);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        showBidPivot(window.application(), 3, [](int i) {
            return BidRow{7, QStringLiteral("Bidder %1").arg(i), 1000.0 * (i + 1)};
        });
        auto* page = qobject_cast<analysis::WorkbookPage*>(window.tabs()->currentWidget());
        QVERIFY(page != nullptr && page->chartView() != nullptr);
        QChart* chart = page->chartView()->chart();
        auto* rounds = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).value(0));
        QVERIFY(rounds != nullptr);
        QVERIFY2(rounds->min() < 7 && rounds->max() > 7,
                 qPrintable(QStringLiteral("%1 to %2").arg(rounds->min()).arg(rounds->max())));
        QCOMPARE(chart->series().size(), 3);
        for (QAbstractSeries* series : chart->series())
            QVERIFY(qobject_cast<QLineSeries*>(series)->pointsVisible());
    }
};

QTEST_MAIN(AnalysisWindowTest)
#include "analysis_window_test.moc"
