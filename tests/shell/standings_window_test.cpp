// View > Standings...: the round's three views and their charts, and the
// window following rounds imported by this program and by another, keeping
// the user's sort and selection.
#include "shell/command_windows.h"
#include "shell/frm_main.h"
#include "shell/grid_window_factory.h"
#include "shell/outside_import_notice.h"
#include "standings/frm_standings.h"
#include "standings/standings_charts_page.h"
#include "store/database.h"
#include "store/session.h"
#include "support/cli_run.h"
#include "support/five_round_auction.h"
#include "support/scripted_prompter.h"

#include <QAction>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QListWidget>
#include <QPainter>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using qv::shell::frmMain;
using qv::standings::frmStandings;

namespace {

int cli(const QStringList& args)
{
    return qv::test::runCli(args).code;
}

QStringList column(QTableView* view, int col)
{
    QStringList values;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        values << view->model()->index(row, col).data().toString();
    return values;
}

QStringList selectedLicences(QTableView* view)
{
    QStringList names;
    for (const QModelIndex& row : view->selectionModel()->selectedRows())
        names << row.data().toString();
    names.sort();
    return names;
}

} // namespace

class StandingsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        app_ = std::make_unique<QTemporaryDir>();
        QVERIFY(files_.isValid() && app_->isValid());
        qputenv("XDG_CONFIG_HOME", app_->path().toLocal8Bit());
        qputenv("QUORVANE_HOME", app_->path().toLocal8Bit());
        qv::session().LastImportFile = app_->filePath(QStringLiteral("lastimp.inf"));
        prompter_ = std::make_unique<qv::test::ScriptedPrompter>();
        main_ = std::make_unique<frmMain>(prompter_.get());
        main_->setGridWindowFactory(qv::shell::gridWindowFactory());
        main_->setEndProgram([] {});
        qv::shell::installCommandWindows(*main_);
        main_->show();
    }
    void cleanup()
    {
        main_.reset();
        qv::CloseAuctionDatabase();
    }

    void followsTheNewestRoundKeepingSortAndSelection()
    {
        QCOMPARE(cli({QStringLiteral("sample"), files_.path(), QStringLiteral("--rounds"),
                      QStringLiteral("5"), QStringLiteral("--licenses"), QStringLiteral("12"),
                      QStringLiteral("--bidders"), QStringLiteral("4")}),
                 0);
        const QString db = app_->filePath(QStringLiteral("Auction5.mdb"));
        QCOMPARE(cli({QStringLiteral("--app-dir"), app_->path(), QStringLiteral("create"), file(1)}), 0);
        QCOMPARE(cli({QStringLiteral("--app-dir"), app_->path(), QStringLiteral("import"), db, file(2)}), 0);
        qv::OpenAuctionDatabase(db);
        auto* notice = main_->findChild<qv::shell::OutsideImportNotice*>();
        notice->check();

        main_->mnuClick(QStringLiteral("mnuViewStandings"));
        auto* window = main_->findChild<frmStandings*>();
        QVERIFY(window != nullptr);
        QCOMPARE(window->windowTitle(), QStringLiteral("Standings"));
        QCOMPARE(window->shownRound(), 2);
        QCOMPARE(window->ddlRound->count(), 2);
        const QStringList tabNames = {QStringLiteral("Licences"), QStringLiteral("Bidders"),
                                      QStringLiteral("Changes since round 1"), QStringLiteral("Charts")};
        for (int i = 0; i < tabNames.size(); ++i)
            QCOMPARE(window->tabs->tabText(i), tabNames[i]);
        QTableView* licences = window->grdLicences;
        QCOMPARE(licences->model()->rowCount(), 12);
        QCOMPARE(window->grdBidders->model()->rowCount(), 4);
        QVERIFY(!main_->findChild<QAction*>(QStringLiteral("mnuFilePrint"))->isEnabled());
        QVERIFY(main_->findChild<QAction*>(QStringLiteral("mnuViewStandings"))->isEnabled());

        // The user sorts by the high bid, highest first, and picks two licences.
        licences->horizontalHeader()->setSortIndicator(3, Qt::DescendingOrder);
        const auto sortedByHighBid = [licences] {
            double last = std::numeric_limits<double>::infinity();
            for (int row = 0; row < licences->model()->rowCount(); ++row) {
                const QVariant value = licences->model()->index(row, 3).data(Qt::UserRole);
                if (value.toDouble() > last)
                    return false;
                last = value.toDouble();
            }
            return true;
        };
        QVERIFY(sortedByHighBid());
        const QString first = licences->model()->index(0, 0).data().toString();
        const QString fifth = licences->model()->index(4, 0).data().toString();
        licences->selectRow(0);
        licences->selectionModel()->select(licences->model()->index(4, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(selectedLicences(licences), QStringList({first, fifth}) + QStringList());

        // Another program imports round 3: the window moves on with it.
        QCOMPARE(cli({QStringLiteral("--app-dir"), app_->path(), QStringLiteral("import"), db, file(3)}), 0);
        notice->check();
        QCOMPARE(window->shownRound(), 3);
        QCOMPARE(window->ddlRound->itemText(0), QStringLiteral("3"));
        QCOMPARE(window->tabs->tabText(2), QStringLiteral("Changes since round 2"));
        QCOMPARE(licences->horizontalHeader()->sortIndicatorSection(), 3);
        QCOMPARE(licences->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        QVERIFY(sortedByHighBid());
        QStringList wanted = {first, fifth};
        wanted.sort();
        QCOMPARE(selectedLicences(licences), wanted);

        // This program imports round 4: the same, at once.
        prompter_->files = {file(4)};
        main_->mnuClick(QStringLiteral("mnuFileImport"));
        QCOMPARE(window->shownRound(), 4);
        QCOMPARE(selectedLicences(licences), wanted);

        // On an older round the window stays where the user put it.
        window->ddlRound->setCurrentIndex(2);
        QCOMPARE(window->shownRound(), 2);
        QCOMPARE(cli({QStringLiteral("--app-dir"), app_->path(), QStringLiteral("import"), db, file(5)}), 0);
        notice->check();
        QCOMPARE(window->ddlRound->count(), 5);
        QCOMPARE(window->ddlRound->currentText(), QStringLiteral("2"));
        QCOMPARE(window->shownRound(), 2);
    }

    void aRowOpensItsChartAndTheNotesSayWhatTheFilesLack()
    {
        const QString db = qv::test::makeFiveRoundAuction(files_.path());
        qv::OpenAuctionDatabase(db);
        main_->mnuClick(QStringLiteral("mnuViewStandings"));
        auto* window = main_->findChild<frmStandings*>();
        QVERIFY(window != nullptr);
        QCOMPARE(window->shownRound(), 5);
        QVERIFY(window->lblNotes->text().contains(QStringLiteral("standing in [Markets] disagrees")));
        QVERIFY(!window->lblWarning->isVisibleTo(window));
        QCOMPARE(column(window->grdLicences, 2),
                 QStringList({QStringLiteral("Heron"), QStringLiteral("O'Brien Mobile"), QString(),
                              QStringLiteral("Wren [West]"), QStringLiteral("Kestrel")}));
        // The totals under the view shown follow the tab; the changes have none.
        QCOMPARE(window->lblTotals->text(), QStringLiteral("Total: High Bid $661, Net High Bid $556"));
        window->tabs->setCurrentIndex(2);
        QVERIFY(!window->lblTotals->isVisibleTo(window));
        window->tabs->setCurrentIndex(1);
        QVERIFY(window->lblTotals->text().endsWith(QStringLiteral("Exposure $777")));
        window->tabs->setCurrentIndex(0);

        // Double-clicking B-2 shows its price path: gone while the agency held it.
        const QModelIndex b2 = window->grdLicences->model()->index(1, 0);
        emit window->grdLicences->doubleClicked(b2);
        QCOMPARE(window->tabs->currentWidget(), window->charts);
        // It breaks over rounds 3 and 4 rather than drawing a price across them: two pieces, one legend
        // entry.
        QChart* chart = window->charts->upper->chart();
        QCOMPARE(chart->series().size(), 2);
        auto* line = qobject_cast<QLineSeries*>(chart->series().front());
        QCOMPARE(line->name(), QStringLiteral("B-2"));
        QCOMPARE(line->points(), QList<QPointF>({{1, 200}, {2, 200}}));
        auto* after = qobject_cast<QLineSeries*>(chart->series().back());
        QCOMPARE(after->points(), QList<QPointF>({{5, 180}}));
        QVERIFY(after->pointsVisible());
        QCOMPARE(after->pen().color(), line->pen().color());
        int entries = 0;
        for (QLegendMarker* marker : chart->legend()->markers())
            entries += marker->isVisible() ? 1 : 0;
        QCOMPARE(entries, 1);
        QCOMPARE(window->charts->ticked(), QStringList({QStringLiteral("B-2")}));

        // A bidder's row: licences held above, eligibility below.
        window->tabs->setCurrentIndex(1);
        QTableView* bidders = window->grdBidders;
        int kestrel = -1;
        for (int row = 0; row < bidders->model()->rowCount(); ++row)
            if (bidders->model()->index(row, 0).data().toString() == QStringLiteral("Kestrel"))
                kestrel = row;
        QVERIFY(kestrel >= 0);
        emit bidders->doubleClicked(bidders->model()->index(kestrel, 3));
        QVERIFY(window->charts->lower->isVisible());
        QCOMPARE(window->charts->upper->chart()->title(), QStringLiteral("Licences held"));
        QCOMPARE(window->charts->lower->chart()->title(), QStringLiteral("Eligibility"));
        QCOMPARE(window->charts->lower->chart()->series().front()->name(), QStringLiteral("Kestrel"));

        // The same auction from files without the optional columns.
        window->close();
        QTRY_VERIFY(main_->findChild<frmStandings*>() == nullptr);
        qv::CloseAuctionDatabase();
        qv::test::dropStandingsColumns(db);
        qv::OpenAuctionDatabase(db);
        main_->mnuClick(QStringLiteral("mnuViewStandings"));
        window = main_->findChild<frmStandings*>();
        QVERIFY(window->lblNotes->isVisibleTo(window));
        for (const char* lacking : {"[New High Bid] (All Bids)", "[High Bid] (Markets)",
                                    "[Withdrawal Round] (Withdrawal Statistics)"})
            QVERIFY2(window->lblNotes->text().contains(QLatin1String(lacking)), lacking);
        QCOMPARE(column(window->grdLicences, 2).last(), QStringLiteral("Heron / Kestrel (tied)"));
        QVERIFY(prompter_->messages.empty());

        // A withdrawal list behind the round statistics: a warning above every tab, with what to do.
        window->close();
        QTRY_VERIFY(main_->findChild<frmStandings*>() == nullptr);
        qv::CloseAuctionDatabase();
        const QString behind = files_.path() + QStringLiteral("/behind");
        QVERIFY(QDir().mkpath(behind));
        const QString behindDb = qv::test::makeFiveRoundAuction(behind);
        {
            auto edit = qv::store::Database::open(behindDb);
            edit->execute(
                QStringLiteral("UPDATE [Round Statistics] SET [Withdrawals] = 5 WHERE [Round] = 2"));
            edit->close();
        }
        qv::OpenAuctionDatabase(behindDb);
        main_->mnuClick(QStringLiteral("mnuViewStandings"));
        window = main_->findChild<frmStandings*>();
        QVERIFY(window->lblWarning->isVisibleTo(window));
        QVERIFY(window->lblWarning->text().startsWith(
            QStringLiteral("Warning: [Round Statistics] counts 6 withdrawals up to round 5, [Withdrawal "
                           "Statistics] lists 1")));
        QVERIFY(window->lblWarning->text().endsWith(QStringLiteral("Import the newest round again.")));
        QVERIFY(!window->lblNotes->text().contains(QStringLiteral("counts 6")));
    }

    // A bidder named with markup that would load a picture: its letters in
    // the table's tooltip, the chart's legend and the drawing, no picture.
    void namesThatLookLikeMarkupAreShownAsText()
    {
        QTemporaryDir folder;
        const QString db = qv::test::makeFiveRoundAuction(folder.path());
        const QString name = qv::test::nameAsPicture(db, folder.path(), QStringLiteral("Bidder"),
                                                     QStringLiteral("Kestrel"), QStringLiteral("Kes"));
        qv::OpenAuctionDatabase(db);
        main_->mnuClick(QStringLiteral("mnuViewStandings"));
        auto* window = main_->findChild<frmStandings*>();
        QVERIFY(window != nullptr);
        window->tabs->setCurrentIndex(1);
        QTableView* bidders = window->grdBidders;
        const int row = static_cast<int>(column(bidders, 0).indexOf(name));
        QVERIFY(row >= 0);
        const QString tip = bidders->model()->index(row, 0).data(Qt::ToolTipRole).toString();
        QVERIFY2(!tip.contains(QStringLiteral("<img")), qPrintable(tip));
        QVERIFY(tip.contains(name.toHtmlEscaped()));

        emit bidders->doubleClicked(bidders->model()->index(row, 0));
        for (QChartView* view : {window->charts->upper, window->charts->lower}) {
            QChart* chart = view->chart();
            QStringList labels;
            for (QLegendMarker* marker : chart->legend()->markers())
                labels << marker->label();
            QVERIFY2(labels.contains(name.toHtmlEscaped()), qPrintable(labels.join(QLatin1Char('|'))));
            // Drawn at a size that shows the legend's names whole.
            chart->resize(QSizeF(1200, 600));
            const QRectF area(QPointF(0, 0), QSizeF(1200, 600));
            QByteArray svg;
            QBuffer buffer(&svg);
            buffer.open(QIODevice::WriteOnly);
            QSvgGenerator generator;
            generator.setOutputDevice(&buffer);
            generator.setSize(QSize(1200, 600));
            QPainter painter(&generator);
            chart->scene()->render(&painter, area, chart->sceneBoundingRect());
            painter.end();
            QVERIFY(svg.contains("&lt;img"));
            QVERIFY(!svg.contains("<image"));
            QVERIFY(!svg.contains("base64"));
        }
    }

    // With QV_SCREENSHOT_AUCTION and QV_SCREENSHOT_DIR set: the Standings
    // window of that auction in the frame, on its Licences tab sorted by the
    // increase, on its Changes tab for round 3, and on its Charts tab with the price paths
    // of three licences and the holdings of two bidders (standings-licences.png,
    // standings-changes.png, standings-prices.png, standings-bidders.png).
    void screenshotsOfTheStandingsWindow()
    {
        const QString auction = qEnvironmentVariable("QV_SCREENSHOT_AUCTION");
        const QString folder = qEnvironmentVariable("QV_SCREENSHOT_DIR");
        if (auction.isEmpty() || folder.isEmpty())
            QSKIP("QV_SCREENSHOT_AUCTION and QV_SCREENSHOT_DIR name the auction and where the pictures go");
        qv::OpenAuctionDatabase(auction);
        main_->resize(1180, 680);
        main_->mnuClick(QStringLiteral("mnuViewStandings"));
        auto* window = main_->findChild<frmStandings*>();
        QVERIFY(window != nullptr);
        window->parentWidget()->showMaximized();
        window->grdLicences->horizontalHeader()->setSortIndicator(6, Qt::DescendingOrder);
        window->grdLicences->selectRow(0);
        QTest::qWait(300);
        const QDir pictures(folder);
        QVERIFY(main_->grab().save(pictures.filePath(QStringLiteral("standings-licences.png"))));
        // The changes of round 3, where the sample auction withdraws a high bid.
        window->ddlRound->setCurrentIndex(std::max(0, window->ddlRound->findText(QStringLiteral("3"))));
        window->tabs->setCurrentIndex(2);
        QTest::qWait(200);
        QVERIFY(main_->grab().save(pictures.filePath(QStringLiteral("standings-changes.png"))));
        window->ddlRound->setCurrentIndex(0);
        window->tabs->setCurrentWidget(window->charts);
        window->charts->showOne(window->grdLicences->model()->index(0, 0).data().toString(), false);
        for (int row : {1, 2})
            window->charts->lstChoices->item(row)->setCheckState(Qt::Checked);
        QTest::qWait(300);
        QVERIFY(main_->grab().save(pictures.filePath(QStringLiteral("standings-prices.png"))));
        window->charts->showOne(window->grdBidders->model()->index(0, 0).data().toString(), true);
        window->charts->lstChoices->item(0)->setCheckState(Qt::Checked);
        QTest::qWait(300);
        QVERIFY(main_->grab().save(pictures.filePath(QStringLiteral("standings-bidders.png"))));
    }

private:
    QString file(int round) const
    {
        return files_.filePath(QStringLiteral("05_%1.zip").arg(round, 3, 10, QLatin1Char('0')));
    }

    QTemporaryDir files_;
    std::unique_ptr<QTemporaryDir> app_;
    std::unique_ptr<qv::test::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> main_;
};

QTEST_MAIN(StandingsWindowTest)
#include "standings_window_test.moc"
