// Grid windows: the table loading rules, the lists and how the main window
// refills them.
#include "auction_fixture.h"
#include "grid/frm_flex_grid.h"
#include "shell/frm_main.h"
#include "shell/grid_window_factory.h"
#include "store/session.h"
#include "support/scripted_prompter.h"

#include <QMdiArea>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using qv::grid::DropDownList;
using qv::grid::frmFlexGrid;
using qv::shell::frmMain;

namespace {

QStringList column(frmFlexGrid& grid, int col)
{
    QStringList values;
    auto& model = grid.MSFlexGrid1->recordsetModel();
    for (int row = 0; row < model.rowCount(); ++row)
        values << model.cellText(row, col);
    return values;
}

void choose(QComboBox* list, const QString& text)
{
    list->setCurrentIndex(list->findText(text));
}

} // namespace

class GridWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
        path_ = qv::test::makeSmallAuction(folder_.path());
        qv::OpenAuctionDatabase(path_);
        prompter_ = std::make_unique<qv::test::ScriptedPrompter>();
        main_ = std::make_unique<frmMain>(prompter_.get());
        main_->setGridWindowFactory(qv::shell::gridWindowFactory());
        main_->resize(1000, 700);
        main_->show();
    }
    void cleanup()
    {
        main_.reset();
        qv::CloseAuctionDatabase();
        QFile::remove(path_);
    }

    void newWindowShowsTheFirstTableWhole()
    {
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* grid = qobject_cast<frmFlexGrid*>(main_->activeChild());
        QVERIFY(grid != nullptr);
        QCOMPARE(grid->ddlTableName->currentText(), QStringLiteral("Round Statistics"));
        QCOMPARE(grid->ddlRoundNum->currentText(), QStringLiteral("3"));
        QVERIFY(!grid->ddlRoundNum->isEnabled());
        QCOMPARE(column(*grid, 1),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
        QCOMPARE(grid->windowTitle(), QStringLiteral("Round Statistics"));
        QCOMPARE(main_->statusText(1), QStringLiteral("Round Statistics"));
        QCOMPARE(grid->MSFlexGrid1->recordsetModel().headerData(2, Qt::Horizontal).toString(),
                 QStringLiteral("Net Bids"));
        QVERIFY(prompter_->messages.empty());
    }

    void perRoundTablesShowTheChosenRoundInOrder()
    {
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* grid = qobject_cast<frmFlexGrid*>(main_->activeChild());
        choose(grid->ddlTableName, QStringLiteral("All Bids"));
        QVERIFY(grid->ddlRoundNum->isEnabled());
        QCOMPARE(column(*grid, 6), QStringList{QStringLiteral("Osprey")});
        QCOMPARE(grid->windowTitle(), QStringLiteral("All Bids - Round 3"));

        choose(grid->ddlRoundNum, QStringLiteral("2"));
        QCOMPARE(column(*grid, 6), (QStringList{QStringLiteral("Kestrel"), QStringLiteral("Heron"),
                                                QStringLiteral("Kestrel")}));
        QCOMPARE(column(*grid, 5),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1")}));
        QCOMPARE(grid->windowTitle(), QStringLiteral("All Bids - Round 2"));
        QCOMPARE(main_->statusText(1), QStringLiteral("All Bids - Round 2"));
        QVERIFY(!grid->actionsPrepared);

        // The table on show is in use; the one shown before is not.
        QVERIFY(qv::session().CurrentDatabase->isHeld(QStringLiteral("All Bids")));
        choose(grid->ddlTableName, QStringLiteral("Markets"));
        QCOMPARE(column(*grid, 2), (QStringList{QStringLiteral("B001-A"), QStringLiteral("B002-B")}));
        QVERIFY(!qv::session().CurrentDatabase->isHeld(QStringLiteral("All Bids")));
        QVERIFY(qv::session().CurrentDatabase->isHeld(QStringLiteral("Markets")));
        main_->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!qv::session().CurrentDatabase->isHeld(QStringLiteral("Markets")));
    }

    void tableWithoutRoundColumnLoadsWhole()
    {
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* grid = qobject_cast<frmFlexGrid*>(main_->activeChild());
        choose(grid->ddlTableName, QStringLiteral("Leaders"));
        QVERIFY(prompter_->messages.empty());
        QCOMPARE(column(*grid, 0), (QStringList{QStringLiteral("Heron"), QStringLiteral("Kestrel")}));
        QVERIFY(!grid->ddlRoundNum->isEnabled());
        QCOMPARE(grid->windowTitle(), QStringLiteral("Leaders"));
    }

    void missingTableReportsTheError()
    {
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* grid = qobject_cast<frmFlexGrid*>(main_->activeChild());
        grid->ddlTableName->addItem(QStringLiteral("Gone"));
        choose(grid->ddlTableName, QStringLiteral("Gone"));
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QVERIFY(prompter_->messages[0].text.startsWith(QStringLiteral("Error 3078: ")));
        QCOMPARE(prompter_->busyDepth, 0);
    }

    void emptyRoundListLoadsNothing()
    {
        auto* grid = qobject_cast<frmFlexGrid*>(main_->newGridWindow());
        main_->PopulateTables();
        choose(grid->ddlTableName, QStringLiteral("Round Statistics"));
        QCOMPARE(grid->windowTitle(), QStringLiteral("New Table Selection"));
        QCOMPARE(grid->MSFlexGrid1->maxRows(), 0);
    }

    void listsRefillOnlyWhenTheCountChanged()
    {
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* grid = qobject_cast<frmFlexGrid*>(main_->activeChild());
        choose(grid->ddlTableName, QStringLiteral("All Bids"));
        choose(grid->ddlRoundNum, QStringLiteral("2"));
        grid->ddlTableName_DropDown();
        grid->ddlRoundNum_DropDown();
        QCOMPARE(grid->ddlTableName->currentText(), QStringLiteral("All Bids"));
        QCOMPARE(grid->ddlRoundNum->currentText(), QStringLiteral("2"));

        // Round 4 arrives: the next drop-down puts it at the top, and leaving the
        // list without a choice shows round 2 again, now in the third place.
        qv::session().CurrentDatabase->execute(
            QStringLiteral("INSERT INTO [sysRounds] ([Round]) VALUES (4)"));
        grid->ddlRoundNum_DropDown();
        QCOMPARE(grid->ddlRoundNum->itemText(0), QStringLiteral("4"));
        QCOMPARE(grid->ddlRoundNum->currentIndex(), -1);
        QCOMPARE(grid->lastRoundIndex, 1);
        grid->ddlRoundNum_LostFocus();
        QCOMPARE(grid->ddlRoundNum->currentText(), QStringLiteral("2"));
        QCOMPARE(grid->windowTitle(), QStringLiteral("All Bids - Round 2"));
    }

    void escapeInADroppedDownListKeepsTheGridOnItsChoice()
    {
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* grid = qobject_cast<frmFlexGrid*>(main_->activeChild());
        choose(grid->ddlTableName, QStringLiteral("All Bids"));
        choose(grid->ddlRoundNum, QStringLiteral("2"));
        // Rounds 4 and 5 arrive and a table listed ahead of "All Bids" goes, so
        // dropping down refills both lists with their entries in other places.
        qv::session().CurrentDatabase->execute(
            QStringLiteral("INSERT INTO [sysRounds] ([Round]) VALUES (4), (5)"));
        qv::session().CurrentDatabase->execute(
            QStringLiteral("DELETE FROM [sysTables] WHERE [TableName] = 'Round Statistics'"));
        const struct {
            DropDownList* list;
            const char* shown;
        } lists[] = {{grid->ddlRoundNum, "2"}, {grid->ddlTableName, "All Bids"}};
        for (const auto& l : lists) {
            l.list->setFocus();
            l.list->showPopup();
            QTRY_VERIFY(l.list->view()->isVisible());
            QCOMPARE(l.list->currentIndex(), -1); // refilled
            QTest::keyClick(l.list->view(), Qt::Key_Escape);
            QTRY_COMPARE(l.list->currentText(), QLatin1String(l.shown));
            grid->MSFlexGrid1->setFocus();
            QCoreApplication::processEvents();
            QCOMPARE(l.list->currentText(), QLatin1String(l.shown));
            QCOMPARE(grid->windowTitle(), QStringLiteral("All Bids - Round 2"));
            QCOMPARE(column(*grid, 6), (QStringList{QStringLiteral("Kestrel"), QStringLiteral("Heron"),
                                                    QStringLiteral("Kestrel")}));
        }
        QCOMPARE(grid->ddlRoundNum->itemText(0), QStringLiteral("5"));
        QVERIFY(prompter_->messages.empty());
    }

    void populateWithoutAGridWindowReports()
    {
        main_->PopulateTables();
        main_->PopulateRounds();
        QCOMPARE(prompter_->messages.size(), size_t(2));
        QCOMPARE(prompter_->messages[0].text,
                 QStringLiteral("Error 91: Object variable or With block variable not set"));
    }

    void activationNamesTheTableInTheStatusBar()
    {
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* first = qobject_cast<frmFlexGrid*>(main_->activeChild());
        choose(first->ddlTableName, QStringLiteral("Markets"));
        auto* empty = qobject_cast<frmFlexGrid*>(main_->newGridWindow());
        QCOMPARE(main_->statusText(1), QStringLiteral("Status"));
        QVERIFY(empty != first);
        main_->mdiArea()->setActiveSubWindow(main_->mdiArea()->subWindowList().first());
        QCOMPARE(main_->statusText(1), QStringLiteral("Markets - Round 3"));
    }

    void requestsReachTheFrameThroughSignals()
    {
        // A grid window on its own, with a recording frame in place of the main window.
        frmFlexGrid grid(*prompter_);
        QStringList asked;
        connect(&grid, &frmFlexGrid::tableListWanted, [&] { asked << QStringLiteral("tables"); });
        connect(&grid, &frmFlexGrid::roundListWanted, [&] { asked << QStringLiteral("rounds"); });
        connect(&grid, &frmFlexGrid::statusTextWanted, [&](int panel, const QString& text) {
            asked << QString::number(panel) + QLatin1Char(':') + text;
        });
        grid.ddlTableName_DropDown();
        grid.ddlRoundNum_DropDown();
        grid.Form_Activate();
        grid.ddlTableName->addItem(QStringLiteral("Markets"));
        grid.ddlRoundNum->addItem(QStringLiteral("2"));
        QCOMPARE(asked, (QStringList{QStringLiteral("tables"), QStringLiteral("rounds"),
                                     QStringLiteral("1:Status"), QStringLiteral("1:Markets - Round 2")}));
        QCOMPARE(grid.windowTitle(), QStringLiteral("Markets - Round 2"));
    }

    void cliShowPrintsWhatTheGridShows()
    {
        auto show = [this](const QStringList& args) {
            QProcess cli;
            cli.start(QStringLiteral(QV_CLI_PATH), QStringList{QStringLiteral("show"), path_} + args);
            cli.waitForFinished(30000);
            return QString::fromUtf8(cli.readAllStandardOutput())
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        };
        const QStringList bids = show({QStringLiteral("All Bids"), QStringLiteral("2")});
        QCOMPARE(bids.size(), 4);
        QVERIFY(bids[0].startsWith(QStringLiteral("Auction ID\tRound\tLicense Name")));
        QVERIFY(bids[1].contains(QStringLiteral("Kestrel")));
        QVERIFY(bids[2].contains(QStringLiteral("Heron")));
        // No round given: the newest; a table without [Round] comes whole.
        QCOMPARE(show({QStringLiteral("Markets")}).size(), 1);
        QCOMPARE(show({QStringLiteral("Leaders"), QStringLiteral("2")}).size(), 3);
        const QStringList statistics = show({QStringLiteral("Round Statistics"), QStringLiteral("2")});
        QCOMPARE(statistics.size(), 4);
        QVERIFY(statistics[1].startsWith(QStringLiteral("5\t1\t")));
    }

private:
    QTemporaryDir folder_;
    QString path_;
    std::unique_ptr<qv::test::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> main_;
};

QTEST_MAIN(GridWindowTest)
#include "grid_window_test.moc"
