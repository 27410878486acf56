// A grid window's export to text and its dropping of tables, as the main
// window reaches them by name.
#include "auction_fixture.h"
#include "grid/frm_flex_grid.h"
#include "shell/frm_main.h"
#include "shell/grid_window_factory.h"
#include "store/database.h"
#include "store/session.h"
#include "support/round_files.h"
#include "support/scripted_prompter.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using qv::grid::frmFlexGrid;
using qv::shell::frmMain;

class ExportDropTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
        path_ = qv::test::makeSmallAuction(folder_.path());
        qv::OpenAuctionDatabase(path_);
        auto& db = *qv::session().CurrentDatabase;
        db.execute(QStringLiteral("CREATE TABLE [sysWizard] ([Table Name] TEXT(65), [SQL String] MEMO)"));
        prompter_ = std::make_unique<qv::test::ScriptedPrompter>();
        main_ = std::make_unique<frmMain>(prompter_.get());
        main_->setGridWindowFactory(qv::shell::gridWindowFactory());
        main_->resize(1000, 700);
        main_->show();
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        grid_ = qobject_cast<frmFlexGrid*>(main_->activeChild());
        QVERIFY(grid_ != nullptr);
    }
    void cleanup()
    {
        main_.reset();
        qv::CloseAuctionDatabase();
        QFile::remove(path_);
    }

    void exportWritesTheRowsOnShowInTheGridsOrder()
    {
        show(QStringLiteral("All Bids"), QStringLiteral("2"));
        // What the grid's Sort and Filter leave on show: a new set from the old.
        auto rows = grid_->Data1->Recordset()->openRecordset();
        rows->filter = QStringLiteral("[Bidder] = 'Kestrel'");
        rows = rows->openRecordset();
        rows->sort = QStringLiteral("[Net Bid Amount] DESC");
        std::shared_ptr<qv::store::Recordset> shown(rows->openRecordset());
        grid_->Data1->setRecordset(shown);
        grid_->MSFlexGrid1->setRecordset(shown);

        const QString file = folder_.filePath(QStringLiteral("bids.txt"));
        prompter_->files.push_back(file);
        main_->mnuClick(QStringLiteral("mnuFileExport"));

        QCOMPARE(prompter_->fileChoices.size(), size_t(1));
        QCOMPARE(prompter_->fileChoices[0].fileName, QStringLiteral("All Bids"));
        QCOMPARE(prompter_->fileChoices[0].filter, QStringLiteral("Tab Delimited Text (*.txt)|*.txt|"));
        QCOMPARE(
            qv::test::readFile(file),
            QByteArray("Auction ID\tRound\tLicense Name\tMarket\tBlock\tSubmarket\tBidder\tNet Bid Amount\r\n"
                       "5\t2\tB002-B\tB002\tB\t1\tKestrel\t2000\r\n"
                       "5\t2\tB001-A\tB001\tA\t1\tKestrel\t1200\r\n"));
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].text, QStringLiteral("       Export completed."));
        QCOMPARE(prompter_->messages[0].title, QStringLiteral("Operation Complete"));
        QCOMPARE(prompter_->messages[0].icon, qv::Icon::None);
        QCOMPARE(prompter_->busyDepth, 0);
    }

    void cancellingTheExportDoesNothing()
    {
        const QStringList before = QDir(folder_.path()).entryList(QDir::Files);
        prompter_->files.push_back(QString()); // cancel
        grid_->DBSaveAs();
        QVERIFY(prompter_->messages.empty());
        QCOMPARE(prompter_->busyDepth, 0);
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files), before);
    }

    void anExportThatCannotBeWrittenIsReportedAndKeepsNothingHalfDone()
    {
        prompter_->files.push_back(folder_.filePath(QStringLiteral("missing/out.txt")));
        grid_->DBSaveAs();
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].text, QStringLiteral("Error 76 Path not found"));
        QVERIFY(prompter_->messages[0].isError);
        QCOMPARE(prompter_->busyDepth, 0);
    }

    void droppingTheTableOnShowGoesBackToTheFirstTable()
    {
        show(QStringLiteral("Leaders"), QStringLiteral("2"));
        prompter_->answers = {qv::Answer::Yes};
        main_->mnuClick(QStringLiteral("mnuToolsDropTable"));
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].title, QStringLiteral("Caution"));
        auto& db = *qv::session().CurrentDatabase;
        QVERIFY(!db.tableExists(QStringLiteral("Leaders")));
        QCOMPARE(db.openRecordset(QStringLiteral("SELECT * FROM [sysTables] WHERE [TableName] = 'Leaders'"))
                     ->recordCount(),
                 0);
        QCOMPARE(grid_->ddlTableName->currentText(), QStringLiteral("Round Statistics"));
        QCOMPARE(grid_->windowTitle(), QStringLiteral("Round Statistics"));
        QCOMPARE(prompter_->busyDepth, 0);
    }

    void aSuppliedTableIsNotDropped()
    {
        show(QStringLiteral("All Bids"), QStringLiteral("2"));
        grid_->DropTable();
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].text, QStringLiteral("Access to All Bids denied."));
        QVERIFY(qv::session().CurrentDatabase->tableExists(QStringLiteral("All Bids")));
        QCOMPARE(grid_->windowTitle(), QStringLiteral("All Bids - Round 2"));
    }

private:
    void show(const QString& table, const QString& round)
    {
        grid_->ddlRoundNum->setCurrentIndex(grid_->ddlRoundNum->findText(round));
        grid_->ddlTableName->setCurrentIndex(grid_->ddlTableName->findText(table));
        QCOMPARE(grid_->ddlTableName->currentText(), table);
    }

    QTemporaryDir folder_;
    QString path_;
    std::unique_ptr<qv::test::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> main_;
    frmFlexGrid* grid_ = nullptr;
};

QTEST_MAIN(ExportDropTest)
#include "export_drop_test.moc"
