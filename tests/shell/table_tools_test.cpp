// The grid window's table tools end to end on a generated auction: choosing a
// list entry again, sorting, filtering, a round change, reset, the table
// wizard and its rebuild after an import, statistics and freezing.
#include "grid/core/selection_statistics.h"
#include "grid/frm_flex_grid.h"
#include "grid/frm_table_actions.h"
#include "query/core/saved_queries.h"
#include "query/core/sql_query.h"
#include "query/core/wizard_statement.h"
#include "shell/frm_main.h"
#include "shell/grid_window_factory.h"
#include "store/import/import_routines.h"
#include "store/sample/sample_auction.h"
#include "store/session.h"
#include "support/scripted_prompter.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using qv::grid::frmFlexGrid;
using qv::grid::frmTableActions;
using qv::shell::frmMain;

namespace {

// All Bids columns.
constexpr int roundCol = 1, bidderCol = 6, grossCol = 9;

QStringList column(frmFlexGrid& grid, int col)
{
    QStringList values;
    auto& model = grid.MSFlexGrid1->recordsetModel();
    for (int row = 0; row < model.rowCount(); ++row)
        values << model.cellText(row, col);
    return values;
}

// One column of a statement's rows, as text.
QStringList query(const QString& statement)
{
    auto rows = qv::session().CurrentDatabase->openRecordset(statement);
    QStringList values;
    for (int r = 0; r < rows->recordCount(); ++r)
        values << rows->at(r, 0).toString();
    return values;
}

QStringList rowsOf(frmFlexGrid& grid, std::initializer_list<int> columns)
{
    QStringList rows;
    auto& model = grid.MSFlexGrid1->recordsetModel();
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int c : columns)
            cells << model.cellText(row, c);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void choose(QComboBox* list, const QString& text)
{
    list->setCurrentIndex(list->findText(text));
}

void pick(QListWidget* list, const QString& text)
{
    list->setCurrentItem(list->findItems(text, Qt::MatchExactly).value(0));
}

} // namespace

class TableToolsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
        qputenv("QUORVANE_HOME", folder_.path().toLocal8Bit());
        qv::store::sample::SampleOptions options;
        options.rounds = 4;
        options.licenses = 24;
        options.bidders = 6;
        options.seed = 11;
        zips_ = qv::store::sample::writeSampleAuction(folder_.filePath(QStringLiteral("rounds")), options);
        prompter_ = std::make_unique<qv::test::ScriptedPrompter>();
        qv::session().LastImportFile = folder_.filePath(QStringLiteral("lastimp.inf"));
        main_ = std::make_unique<frmMain>(prompter_.get());
        main_->setGridWindowFactory(qv::shell::gridWindowFactory());
        main_->resize(1000, 700);
        main_->show();
        for (int round = 0; round < 3; ++round) {
            prompter_->files.push_back(zips_[round]);
            QVERIFY(round == 0 ? qv::CreateAuction(main_->importHost())
                               : qv::ImportRound(main_->importHost(), false));
        }
        prompter_->messages.clear();
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        grid_ = qobject_cast<frmFlexGrid*>(main_->activeChild());
        QVERIFY(grid_ != nullptr);
        choose(grid_->ddlTableName, QStringLiteral("All Bids"));
        choose(grid_->ddlRoundNum, QStringLiteral("2"));
        QVERIFY(grid_->MSFlexGrid1->maxRows() > 3);
    }
    void cleanup()
    {
        frmTableActions::setModalRunner({});
        main_.reset();
        qv::CloseAuctionDatabase();
        QDir(folder_.path()).removeRecursively();
        QDir().mkpath(folder_.path());
    }

    void choosingTheSelectedEntryAgainReloads()
    {
        const qv::store::Recordset* shown = grid_->Data1->Recordset().get();
        // By code: both lists.
        grid_->ddlTableName->setCurrentIndex(grid_->ddlTableName->currentIndex());
        QVERIFY(grid_->Data1->Recordset().get() != shown);
        shown = grid_->Data1->Recordset().get();
        grid_->ddlRoundNum->setCurrentIndex(grid_->ddlRoundNum->currentIndex());
        QVERIFY(grid_->Data1->Recordset().get() != shown);
        // By the user picking the same entry in the pop-up.
        shown = grid_->Data1->Recordset().get();
        grid_->ddlTableName->showPopup();
        grid_->ddlTableName->hidePopup();
        emit grid_->ddlTableName->activated(grid_->ddlTableName->currentIndex());
        QVERIFY(grid_->Data1->Recordset().get() != shown);
        // A new entry loads once, not once for the change and again for the pick.
        int loads = 0;
        connect(grid_, &frmFlexGrid::statusTextWanted, this, [&loads] { ++loads; });
        grid_->ddlTableName->showPopup();
        grid_->ddlTableName->hidePopup();
        choose(grid_->ddlTableName, QStringLiteral("Markets"));
        emit grid_->ddlTableName->activated(grid_->ddlTableName->currentIndex());
        QCOMPARE(loads, 1);
        QVERIFY(prompter_->messages.empty());
    }

    void sortThenFilterCarryOverToTheNextRoundUntilReset()
    {
        frmTableActions::setModalRunner([](frmTableActions& dialog) {
            QCOMPARE(dialog.SSTab1->currentIndex(), 0);
            QVERIFY(!dialog.SSTab1->isTabEnabled(2));
            for (const char* name : {"Bidder", "Gross Bid Amount"}) {
                pick(dialog.lstSource, QLatin1String(name));
                dialog.lstSource_DblClick();
            }
            dialog.lstSortCols->item(1)->setCheckState(Qt::Unchecked);
        });
        main_->mnuClick(QStringLiteral("mnuToolsSortTable"));
        const QString sorted =
            QStringLiteral("SELECT [Bidder] & '|' & [Gross Bid Amount] FROM [All Bids] WHERE "
                           "[Round] = %1 %2 ORDER BY [Bidder], [Gross Bid Amount] DESC");
        QCOMPARE(rowsOf(*grid_, {bidderCol, grossCol}), query(sorted.arg(2).arg(QString())));

        // Filter one bidder, picked from the values of every round.
        const QStringList bidders = query(QStringLiteral("SELECT DISTINCT [Bidder] FROM [All Bids]"));
        const QString bidder = bidders.first();
        frmTableActions::setModalRunner([&](frmTableActions& dialog) {
            QCOMPARE(dialog.SSTab1->currentIndex(), 1);
            choose(dialog.lstFiltCol[0], QStringLiteral("Bidder"));
            QCOMPARE(dialog.txtFilter[0]->count(), bidders.size());
            dialog.txtFilter[0]->setEditText(bidder);
        });
        main_->mnuClick(QStringLiteral("mnuToolsFilterTable"));
        const QString mine = QStringLiteral("AND [Bidder] = '") + bidder + QLatin1Char('\'');
        QCOMPARE(rowsOf(*grid_, {bidderCol, grossCol}), query(sorted.arg(2).arg(mine)));

        // The next round shows the same bidder, sorted the same way.
        choose(grid_->ddlRoundNum, QStringLiteral("3"));
        QCOMPARE(column(*grid_, roundCol).value(0, QStringLiteral("3")), QStringLiteral("3"));
        QCOMPARE(rowsOf(*grid_, {bidderCol, grossCol}), query(sorted.arg(3).arg(mine)));
        QVERIFY(prompter_->messages.empty());

        // Reset: every row of the round, in the table's own order; the next
        // sort starts from a refilled dialog that kept its operators.
        grid_->actionsDialog->lstOp[2]->setCurrentIndex(4);
        main_->mnuClick(QStringLiteral("mnuToolsResetTable"));
        QCOMPARE(column(*grid_, 2),
                 query(QStringLiteral("SELECT [License Name] FROM [All Bids] WHERE [Round] = 3 "
                                      "ORDER BY [Market], [Block], [Submarket]")));
        QVERIFY(!grid_->actionsPrepared);
        frmTableActions::setModalRunner([](frmTableActions& dialog) {
            QCOMPARE(dialog.lstSortCols->count(), 0);
            QCOMPARE(dialog.lstSource->count(), 13);
            QCOMPARE(dialog.lstFiltCol[0]->currentText(), QString());
            QCOMPARE(dialog.lstOp[2]->currentText(), QStringLiteral("<"));
            dialog.reject();
        });
        main_->mnuClick(QStringLiteral("mnuToolsSortTable"));
        QVERIFY(!grid_->actionsDialog->cancelled());
    }

    void cancelledOrHalfFilledFiltersLeaveTheRows()
    {
        const QStringList before = rowsOf(*grid_, {2, bidderCol});
        // Row 1 without a column: the filter is not applied at all.
        frmTableActions::setModalRunner([](frmTableActions& dialog) {
            choose(dialog.lstFiltCol[1], QStringLiteral("Round"));
            dialog.txtFilter[1]->setEditText(QStringLiteral("99"));
        });
        main_->mnuClick(QStringLiteral("mnuToolsFilterTable"));
        QCOMPARE(rowsOf(*grid_, {2, bidderCol}), before);
        // Row 1 with a column and no value: the engine rejects " And [Round] =99".
        frmTableActions::setModalRunner(
            [](frmTableActions& dialog) { choose(dialog.lstFiltCol[0], QStringLiteral("Bidder")); });
        main_->mnuClick(QStringLiteral("mnuToolsFilterTable"));
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QVERIFY(prompter_->messages[0].text.startsWith(QStringLiteral("Error:3075 ")));
        QVERIFY(prompter_->messages[0].isError);
        QCOMPARE(rowsOf(*grid_, {2, bidderCol}), before);
        QCOMPARE(prompter_->busyDepth, 0);

        // Cancelled: the grid stays, the choice waits for the next round.
        const QString bidder = column(*grid_, bidderCol).first();
        frmTableActions::setModalRunner([&](frmTableActions& dialog) {
            dialog.txtFilter[0]->setEditText(bidder);
            dialog.lstFiltCol[1]->setCurrentIndex(-1);
            dialog.reject();
        });
        main_->mnuClick(QStringLiteral("mnuToolsFilterTable"));
        QCOMPARE(rowsOf(*grid_, {2, bidderCol}), before);
        QVERIFY(!grid_->actionsDialog->cancelled());
        choose(grid_->ddlRoundNum, QStringLiteral("1"));
        QVERIFY(grid_->MSFlexGrid1->maxRows() > 0);
        QCOMPARE(column(*grid_, bidderCol).removeDuplicates(), column(*grid_, bidderCol).size() - 1);
        for (const QString& shown : column(*grid_, bidderCol))
            QCOMPARE(shown, bidder);
    }

    void aDoubleQuoteInAFilterValueIsComparedAsTyped()
    {
        qv::session().CurrentDatabase->execute(QStringLiteral(
            "UPDATE [All Bids] SET [Bidder] = 'Quote \"Q\" Co' WHERE [Round] = 2 AND [Submarket] = 1"));
        const auto quoted = query(QStringLiteral("SELECT [Bidder] FROM [All Bids] WHERE [Round] = 2 AND "
                                                 "[Submarket] = 1"))
                                .size();
        QVERIFY(quoted > 0);
        auto filterFor = [this](const QString& value) {
            frmTableActions::setModalRunner([value](frmTableActions& dialog) {
                choose(dialog.lstFiltCol[0], QStringLiteral("Bidder"));
                dialog.txtFilter[0]->setEditText(value);
            });
            main_->mnuClick(QStringLiteral("mnuToolsResetTable"));
            main_->mnuClick(QStringLiteral("mnuToolsFilterTable"));
            return column(*grid_, bidderCol);
        };
        QCOMPARE(filterFor(QStringLiteral("Quote \"Q\" Co")),
                 QStringList(static_cast<int>(quoted), QStringLiteral("Quote \"Q\" Co")));
        // A value that would close its string and add a condition matches nothing.
        QCOMPARE(filterFor(QStringLiteral("x\" Or \"1\"=\"1")), QStringList());
        QVERIFY(prompter_->messages.empty());
    }

    // Letters as the value for a number column: the engine's data type mismatch, not no rows.
    void lettersForANumberColumnAreTheEnginesMismatch()
    {
        const QStringList before = rowsOf(*grid_, {2, bidderCol});
        frmTableActions::setModalRunner([](frmTableActions& dialog) {
            choose(dialog.lstFiltCol[0], QStringLiteral("Round"));
            dialog.txtFilter[0]->setEditText(QStringLiteral("5a"));
        });
        main_->mnuClick(QStringLiteral("mnuToolsFilterTable"));
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].text,
                 QStringLiteral("Error:3464 Data type mismatch in criteria expression."));
        QCOMPARE(rowsOf(*grid_, {2, bidderCol}), before);
    }

    void wizardTableIsRecordedAndRebuiltAfterTheNextImport()
    {
        // A bidder with an apostrophe in the name, in every round to come.
        qv::session().CurrentDatabase->execute(
            QStringLiteral("UPDATE [All Bids] SET [Bidder] = 'O''Hare' WHERE [Bidder] = '%1'")
                .arg(query(QStringLiteral("SELECT [Bidder] FROM [All Bids] WHERE [Round] = 3")).first()));
        prompter_->inputs.push_back(QStringLiteral("Hare Bids"));
        frmTableActions::setModalRunner([](frmTableActions& dialog) {
            QCOMPARE(dialog.SSTab1->currentIndex(), 2);
            QCOMPARE(dialog.lstSourceTable->count(), 13);
            for (const char* name : {"Round", "Bidder", "Gross Bid Amount"}) {
                pick(dialog.lstSourceTable, QLatin1String(name));
                dialog.lstSourceTable_DblClick();
            }
            QCOMPARE(dialog.lstFiltCol[0]->count(), 3);
            choose(dialog.lstFiltCol[0], QStringLiteral("Bidder"));
            dialog.lstOp[0]->setCurrentIndex(1);
            dialog.txtFilter[0]->setEditText(QStringLiteral("O'Hare"));
            pick(dialog.lstSource, QStringLiteral("Round"));
            dialog.lstSource_DblClick();
            dialog.lstSortCols->item(0)->setCheckState(Qt::Unchecked);
        });
        main_->mnuClick(QStringLiteral("mnuToolsTableWizard"));
        QVERIFY2(prompter_->messages.empty(),
                 qPrintable(prompter_->messages.empty() ? QString() : prompter_->messages[0].text));
        QVERIFY(grid_->wizardDialog == nullptr);
        const QString statement =
            QStringLiteral("SELECT [Round], [Bidder], [Gross Bid Amount] INTO [Hare Bids] FROM [All Bids]  "
                           "WHERE [Bidder] <>'O''Hare' ORDER BY [Round] DESC;");
        QCOMPARE(
            query(QStringLiteral("SELECT [SQL String] FROM [sysWizard] WHERE [Table Name] = 'Hare Bids'")),
            QStringList{statement});
        QVERIFY(query(QStringLiteral("SELECT [TableName] FROM [sysTables]"))
                    .contains(QStringLiteral("Hare Bids")));
        const QString count = QStringLiteral("SELECT Count(*) FROM [All Bids] WHERE [Bidder] <> 'O''Hare'");
        QCOMPARE(query(QStringLiteral("SELECT Count(*) FROM [Hare Bids]")), query(count));

        // The next import brings round 4 into the table.
        prompter_->files.push_back(zips_[3]);
        QVERIFY(qv::ImportRound(main_->importHost(), false));
        QCOMPARE(prompter_->messages.size(), size_t(1)); // the import's own success message
        QCOMPARE(query(QStringLiteral("SELECT Max([Round]) FROM [Hare Bids]")),
                 QStringList{QStringLiteral("4")});
        QCOMPARE(query(QStringLiteral("SELECT Count(*) FROM [Hare Bids]")), query(count));

        // The new table opens in a grid window of its own, newest round first.
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* other = qobject_cast<frmFlexGrid*>(main_->activeChild());
        choose(other->ddlTableName, QStringLiteral("Hare Bids"));
        QCOMPARE(other->windowTitle(), QStringLiteral("Hare Bids - Round 4"));
    }

    void wizardCancelAndEmptyChoicesBuildNothing()
    {
        const QStringList tables = query(QStringLiteral("SELECT [TableName] FROM [sysTables]"));
        frmTableActions::setModalRunner([](frmTableActions& dialog) {
            pick(dialog.lstSourceTable, QStringLiteral("Round"));
            dialog.lstSourceTable_DblClick();
            dialog.reject();
        });
        main_->mnuClick(QStringLiteral("mnuToolsTableWizard"));
        QVERIFY(grid_->wizardDialog == nullptr);
        // OK with no column: nothing, and the next start lists each column once.
        frmTableActions::setModalRunner([](frmTableActions&) {});
        main_->mnuClick(QStringLiteral("mnuToolsTableWizard"));
        frmTableActions::setModalRunner([](frmTableActions& dialog) {
            QCOMPARE(dialog.lstSourceTable->count(), 13);
            pick(dialog.lstSourceTable, QStringLiteral("Round"));
            dialog.lstSourceTable_DblClick();
            dialog.txtTableName->setText(QStringLiteral("All Bids"));
        });
        // A name that exists fails in the engine: reported, nothing recorded.
        main_->mnuClick(QStringLiteral("mnuToolsTableWizard"));
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QVERIFY(prompter_->messages[0].text.startsWith(QStringLiteral("Error 3010: ")));
        QCOMPARE(query(QStringLiteral("SELECT [TableName] FROM [sysTables]")), tables);
        QCOMPARE(query(QStringLiteral("SELECT Count(*) FROM [sysWizard]")), QStringList{QStringLiteral("0")});
    }

    // Cancel at "Name New Table" builds nothing and says nothing; an empty
    // name is asked for again.
    void nameNewTableCancelsQuietlyAndAsksAgainForAName()
    {
        const QStringList tables = query(QStringLiteral("SELECT [TableName] FROM [sysTables]"));
        const auto wizard = [this] {
            frmTableActions::setModalRunner([](frmTableActions& dialog) {
                pick(dialog.lstSourceTable, QStringLiteral("Round"));
                dialog.lstSourceTable_DblClick();
            });
            main_->mnuClick(QStringLiteral("mnuToolsTableWizard"));
        };
        prompter_->inputs = {QString(), QStringLiteral("  "), std::nullopt, QStringLiteral("unasked")};
        wizard();
        QCOMPARE(prompter_->inputs.size(), size_t(1));
        QVERIFY(prompter_->messages.empty());
        QVERIFY(grid_->wizardDialog == nullptr);
        QCOMPARE(query(QStringLiteral("SELECT [TableName] FROM [sysTables]")), tables);

        prompter_->inputs = {QString(), QStringLiteral("Rounds Only")};
        wizard();
        QVERIFY(prompter_->inputs.empty());
        QVERIFY(prompter_->messages.empty());
        QCOMPARE(query(QStringLiteral("SELECT [TableName] FROM [sysTables]")),
                 tables + QStringList{QStringLiteral("Rounds Only")});
    }

    // An import while built tables are on show: they stay listed and readable
    // with their earlier rows, one message names them, and each is rebuilt
    // once its window closes.
    void builtTablesOnShowAreRebuiltWhenTheirWindowsClose()
    {
        auto& db = *qv::session().CurrentDatabase;
        qv::query::SqlQuery top{QStringLiteral("Top"),
                                QStringLiteral("[Round], [Bidder]"),
                                QStringLiteral("[Top Bids]"),
                                QStringLiteral("[All Bids]"),
                                QString(),
                                QString()};
        qv::query::SavedQueries(db).add(top);
        qv::query::runSqlQuery(db, top);
        qv::query::buildWizardTable(db, QStringLiteral("Wiz"),
                                    QStringLiteral("SELECT [Round] INTO [Wiz] FROM [Markets];"));
        main_->PopulateTables();
        choose(grid_->ddlTableName, QStringLiteral("Top Bids"));
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* other = qobject_cast<frmFlexGrid*>(main_->activeChild());
        choose(other->ddlTableName, QStringLiteral("Wiz"));
        const QStringList newest = {QStringLiteral("3")};
        QCOMPARE(query(QStringLiteral("SELECT Max([Round]) FROM [Top Bids]")), newest);

        prompter_->files.push_back(zips_[3]);
        QVERIFY(qv::ImportRound(main_->importHost(), false));
        QCOMPARE(prompter_->titles(), (QStringList{QStringLiteral("Round Imported Successfully"),
                                                   QStringLiteral("Successful Round Import!")}));
        QVERIFY(prompter_->messages[1].text.contains(QStringLiteral(" < < < Top Bids > > > ")));
        QVERIFY(prompter_->messages[1].text.contains(QStringLiteral(" < < < Wiz > > > ")));
        const QStringList listed = query(QStringLiteral("SELECT [TableName] FROM [sysTables]"));
        QCOMPARE(listed.count(QStringLiteral("Top Bids")), 1);
        QCOMPARE(listed.count(QStringLiteral("Wiz")), 1);
        QCOMPARE(query(QStringLiteral("SELECT Max([Round]) FROM [Top Bids]")), newest);
        choose(grid_->ddlRoundNum, QStringLiteral("3"));
        QVERIFY(grid_->MSFlexGrid1->maxRows() > 0);

        grid_->parentWidget()->close();
        QTRY_COMPARE(query(QStringLiteral("SELECT Max([Round]) FROM [Top Bids]")),
                     QStringList{QStringLiteral("4")});
        QCOMPARE(query(QStringLiteral("SELECT Max([Round]) FROM [Wiz]")), newest); // still on show
        other->parentWidget()->close();
        QTRY_COMPARE(query(QStringLiteral("SELECT Max([Round]) FROM [Wiz]")),
                     QStringList{QStringLiteral("4")});
        QCOMPARE(prompter_->messages.size(), size_t(2));
        grid_ = nullptr;
    }

    void statisticsOfTheSelectionReachTheThirdPanel()
    {
        auto* view = grid_->MSFlexGrid1;
        auto& model = view->recordsetModel();
        auto select = [&](int top, int col, int bottom, int col2) {
            view->selectionModel()->select(QItemSelection(model.index(top, col), model.index(bottom, col2)),
                                           QItemSelectionModel::Select);
        };
        const QStringList gross = column(*grid_, grossCol);
        view->clearSelection();
        select(0, grossCol, 1, grossCol);
        select(3, grossCol, 3, grossCol);
        main_->mnuClick(QStringLiteral("mnuCompSum"));
        const double sum = gross[0].toDouble() + gross[1].toDouble() + gross[3].toDouble();
        QCOMPARE(main_->statusText(3), QStringLiteral("Sum: ") + qv::grid::formatStatistic(sum));
        main_->mnuClick(QStringLiteral("mnuCompCount"));
        QCOMPARE(main_->statusText(3), QStringLiteral("Count: 3.00"));
        // Two columns; a new selection takes the total away at once.
        select(0, grossCol + 1, 0, grossCol + 1);
        QCOMPARE(main_->statusText(3), QString());
        main_->mnuClick(QStringLiteral("mnuCompAverage"));
        QCOMPARE(main_->statusText(3), QStringLiteral("Average: 0"));
        // A whole column, by its header.
        view->clearSelection();
        view->selectColumn(roundCol);
        main_->mnuClick(QStringLiteral("mnuCompSum"));
        const QString wholeColumn =
            QStringLiteral("Sum: ") + qv::grid::formatStatistic(2.0 * view->maxRows());
        QCOMPARE(main_->statusText(3), wholeColumn);
        // A Ctrl-click takes the only selected cell out again: nothing is
        // selected, and Sum then says nothing.
        const QPoint cell = view->visualRect(model.index(0, grossCol)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, cell);
        QVERIFY(!view->selectionModel()->hasSelection());
        QCOMPARE(main_->statusText(3), QString());
        main_->mnuClick(QStringLiteral("mnuCompSum"));
        QCOMPARE(main_->statusText(3), QString());

        // The total goes with the table it came from, and with its window:
        // another window, or none, has no total.
        view->selectColumn(roundCol);
        main_->mnuClick(QStringLiteral("mnuCompSum"));
        QCOMPARE(main_->statusText(3), wholeColumn);
        choose(grid_->ddlTableName, QStringLiteral("Markets"));
        QCOMPARE(main_->statusText(3), QString());
        choose(grid_->ddlTableName, QStringLiteral("All Bids"));
        view->selectColumn(roundCol);
        main_->mnuClick(QStringLiteral("mnuCompCount"));
        QVERIFY(main_->statusText(3).startsWith(QStringLiteral("Count: ")));
        QWidget* other = main_->newGridWindow();
        QCOMPARE(main_->statusText(3), QString());
        other->parentWidget()->close();
        QTRY_COMPARE(main_->activeChild(), static_cast<QWidget*>(grid_));
        view->clearSelection();
        select(0, grossCol, 0, grossCol);
        main_->mnuClick(QStringLiteral("mnuCompCount"));
        QCOMPARE(main_->statusText(3), QStringLiteral("Count: 1.00"));
        grid_->parentWidget()->close();
        QTRY_COMPARE(main_->statusText(3), QString());
        grid_ = nullptr;
        QVERIFY(prompter_->messages.empty());
    }

    void freezeAndUnfreeze()
    {
        auto* view = grid_->MSFlexGrid1;
        auto& model = view->recordsetModel();

        view->setCurrentIndex(model.index(0, 2));
        main_->mnuClick(QStringLiteral("mnuWindowFreeze"));
        QCOMPARE(view->colsFrozen(), 3);
        main_->mnuClick(QStringLiteral("mnuWindowUnfreeze"));
        QCOMPARE(view->colsFrozen(), 0);
    }

private:
    QTemporaryDir folder_;
    QStringList zips_;
    std::unique_ptr<qv::test::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> main_;
    frmFlexGrid* grid_ = nullptr;
};

QTEST_MAIN(TableToolsTest)
#include "table_tools_test.moc"
