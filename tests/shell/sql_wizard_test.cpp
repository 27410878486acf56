// The SQL query wizard window and the grid window's TableSql2 behind its Run.
#include "auction_fixture.h"
#include "grid/frm_flex_grid.h"
#include "query/frm_sql.h"
#include "shell/frm_main.h"
#include "shell/grid_window_factory.h"
#include "shell/sql_wizard_window.h"
#include "store/auction_schema.h"
#include "store/database.h"
#include "store/session.h"
#include "support/scripted_prompter.h"
#include "support/statement_column.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using qv::grid::frmFlexGrid;
using qv::query::frmSql;
using qv::shell::frmMain;

namespace {

QStringList column(const QString& statement)
{
    return qv::test::statementColumn(*qv::session().CurrentDatabase, statement);
}

} // namespace

class SqlWizardTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
        path_ = qv::test::makeSmallAuction(folder_.path());
        qv::OpenAuctionDatabase(path_);
        auto& db = *qv::session().CurrentDatabase;
        db.execute(
            QStringLiteral("CREATE TABLE [sysQueryBuilder] ([Txt5] TEXT(255), [Txt0] MEMO, [Txt1] TEXT(65), "
                           "[Txt2] MEMO, [Txt3] MEMO, [Txt4] MEMO)"));
        db.execute(
            QStringLiteral("ALTER TABLE [sysQueryBuilder] ADD CONSTRAINT [Primary] PRIMARY KEY ([Txt5])"));
        prompter_ = std::make_unique<qv::test::ScriptedPrompter>();
        main_ = std::make_unique<frmMain>(prompter_.get());
        main_->setGridWindowFactory(qv::shell::gridWindowFactory());
        main_->setCommandWindow(QStringLiteral("frmSql"), qv::shell::showSqlWizard);
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

    void theClauseBoxesWaitForANameAndEveryEditIsSaved()
    {
        frmSql& wizard = openWizard();
        QVERIFY(wizard.isWindow());
        QCOMPARE(wizard.windowTitle(), QStringLiteral("SQL Query Wizard"));
        QCOMPARE(main_->activeChild(), grid_); // Run still acts on the grid window
        for (int i = 0; i < 5; ++i)
            QVERIFY(!wizard.txtSql[i]->isEnabled());
        QTest::keyClicks(wizard.txtSql[5], QStringLiteral("Top"));
        for (int i = 0; i < 5; ++i)
            QVERIFY(wizard.txtSql[i]->isEnabled());
        QCOMPARE(wizard.queryNavigator->caption(), QStringLiteral("Top"));
        type(wizard, 0, "[Bidder]");
        type(wizard, 3, "[Bidder] <> 'O''Neil'");
        QCOMPARE(column(QStringLiteral("SELECT [Txt5] FROM [sysQueryBuilder]")),
                 QStringList{QStringLiteral("Top")});
        QCOMPARE(column(QStringLiteral("SELECT [Txt3] FROM [sysQueryBuilder]")),
                 QStringList{QStringLiteral("[Bidder] <> 'O''Neil'")});
        // Blanking the name disables the clauses again; the row keeps its name.
        wizard.txtSql[5]->selectAll();
        QTest::keyClick(wizard.txtSql[5], Qt::Key_Delete);
        QVERIFY(!wizard.txtSql[0]->isEnabled());
        QCOMPARE(wizard.queryNavigator->caption(), QString());
        QTest::keyClicks(wizard.txtSql[5], QStringLiteral("Leaders 2"));
        QCOMPARE(column(QStringLiteral("SELECT [Txt5] FROM [sysQueryBuilder]")),
                 QStringList{QStringLiteral("Leaders 2")});
        QVERIFY(prompter_->messages.empty());
    }

    void navigationDeleteAndATooLongText()
    {
        auto& db = *qv::session().CurrentDatabase;
        db.execute(QStringLiteral(
            "INSERT INTO [sysQueryBuilder] VALUES ('First', '*', 'A', '[Leaders]', Null, Null)"));
        db.execute(QStringLiteral(
            "INSERT INTO [sysQueryBuilder] VALUES ('Second', '*', 'B', '[Leaders]', Null, Null)"));
        frmSql& wizard = openWizard();
        QCOMPARE(wizard.queryNavigator->caption(), QStringLiteral("First"));
        wizard.queryNavigator->next->click();
        QCOMPARE(wizard.queryNavigator->caption(), QStringLiteral("Second"));
        QCOMPARE(wizard.txtSql[1]->text(), QStringLiteral("B"));
        wizard.queryNavigator->first->click();
        QCOMPARE(wizard.txtSql[1]->text(), QStringLiteral("A"));

        // The built table's name holds 65 characters here: 66 are refused when the
        // typing ends, not cut, and the box shows the saved name again.
        wizard.txtSql[1]->clear();
        QTest::keyClicks(wizard.txtSql[1], QString(66, QLatin1Char('x')));
        QTest::keyClick(wizard.txtSql[1], Qt::Key_Return);
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QVERIFY(prompter_->messages[0].isError);
        QVERIFY(prompter_->messages[0].text.startsWith(QStringLiteral("Error 3163: ")));
        QCOMPARE(wizard.txtSql[1]->text(), QStringLiteral("A"));

        wizard.cdmDelete->click();
        QCOMPARE(column(QStringLiteral("SELECT [Txt5] FROM [sysQueryBuilder]")),
                 QStringList{QStringLiteral("Second")});
        QCOMPARE(wizard.queryNavigator->caption(), QStringLiteral("Second"));
        wizard.cdmDelete->click();
        wizard.cdmDelete->click(); // nothing left: quietly nothing
        QCOMPARE(wizard.queryNavigator->caption(), QString());
        QVERIFY(!wizard.txtSql[0]->isEnabled());
        QCOMPARE(prompter_->messages.size(), size_t(1));
    }

    void tabGoesRoundInsideTheWizardAndEscapeClosesIt()
    {
        qv::session().CurrentDatabase->execute(QStringLiteral(
            "INSERT INTO [sysQueryBuilder] VALUES ('First', '*', Null, '[Leaders]', Null, Null)"));
        frmSql& wizard = openWizard();
        QVERIFY(QTest::qWaitForWindowActive(&wizard));
        const auto tab = [](Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
            return QApplication::focusWidget();
        };
        // A saved query: the name, the five clauses in order, the buttons, and round again.
        wizard.txtSql[5]->setFocus();
        QList<QWidget*> walked{QApplication::focusWidget()};
        for (qsizetype i = 1; i <= wizard.tabChain().size(); ++i)
            walked << tab();
        QCOMPARE(walked.mid(0, 6), (QList<QWidget*>{wizard.txtSql[5], wizard.txtSql[0], wizard.txtSql[1],
                                                    wizard.txtSql[2], wizard.txtSql[3], wizard.txtSql[4]}));
        QVERIFY(walked.indexOf(wizard.cmdRun) > walked.indexOf(wizard.queryNavigator->addNew));
        QCOMPARE(walked.mid(walked.indexOf(wizard.cmdRun), 3),
                 (QList<QWidget*>{wizard.cmdRun, wizard.cdmDelete, wizard.cmdClose}));
        QCOMPARE(walked.last(), wizard.txtSql[5]);
        QCOMPARE(tab(Qt::ShiftModifier), wizard.cmdClose);
        // A new query: the clauses wait for a name, and Tab stays in the window.
        wizard.queryNavigator->addNew->click();
        wizard.txtSql[5]->setFocus();
        for (int i = 0; i < 12; ++i)
            QCOMPARE(tab()->window(), &wizard);
        QCOMPARE(main_->activeChild(), grid_);

        QTest::keyClick(wizard.txtSql[5], Qt::Key_Escape);
        QTRY_VERIFY(main_->findChild<frmSql*>() == nullptr);
        QVERIFY(prompter_->messages.empty());
    }

    void runBuildsTheTableAndReplacesItWhileOnShow()
    {
        frmSql& wizard = openWizard();
        QTest::keyClicks(wizard.txtSql[5], QStringLiteral("Top Bids"));
        type(wizard, 0, "[Bidder], [Net Bid Amount]");
        type(wizard, 1, "[Top Bids]");
        type(wizard, 2, "[All Bids]");
        type(wizard, 3, "[Net Bid Amount] > 1000");
        type(wizard, 4, "[Net Bid Amount] DESC");
        wizard.cmdRun->click();
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].text, QStringLiteral("     Finished building the table 'Top Bids'\r"
                                                             "To view the table, select it from the\r"
                                                             "         Table pull-down menu."));
        QVERIFY(!prompter_->messages[0].isError);
        QCOMPARE(
            column(QStringLiteral("SELECT [Bidder] FROM [Top Bids]")),
            (QStringList{QStringLiteral("Kestrel"), QStringLiteral("Heron"), QStringLiteral("Kestrel")}));

        // Shown in the grid, then run again: the grid lets go, the table is rebuilt, listed once.
        main_->PopulateTables();
        grid_->ddlTableName->setCurrentIndex(grid_->ddlTableName->findText(QStringLiteral("Top Bids")));
        QCOMPARE(grid_->windowTitle(), QStringLiteral("Top Bids"));
        wizard.cmdRun->click();
        QCOMPARE(prompter_->messages.size(), size_t(2));
        QVERIFY(!prompter_->messages[1].isError);
        QCOMPARE(grid_->ddlTableName->currentIndex(), 0);
        QCOMPARE(column(QStringLiteral("SELECT [TableName] FROM [sysTables] WHERE [TableName] = 'Top Bids'"))
                     .size(),
                 1);
        QCOMPARE(prompter_->busyDepth, 0);
    }

    // An Into that would build another table than it names, or a table of
    // the round results files or the program's, is refused when typed and
    // when run; the saved one stays.
    void anIntoMustNameOneTableTheUserMayBuild()
    {
        frmSql& wizard = openWizard();
        QTest::keyClicks(wizard.txtSql[5], QStringLiteral("Q"));
        type(wizard, 0, "[Bidder]");
        type(wizard, 2, "[All Bids]");
        type(wizard, 1, "[Top Bids]");
        QTest::keyClick(wizard.txtSql[1], Qt::Key_Return);
        QVERIFY(prompter_->messages.empty());
        const struct {
            const char* into;
            const char* refusal;
        } cases[] = {
            {"Top Bids",
             "The Into text 'Top Bids' is not one table name: put the name in square brackets, as "
             "in [Top Bids]."},
            {"[x] junk",
             "The Into text '[x] junk' is not one table name: put the name in square brackets, as "
             "in [Top Bids]."},
            {"Markets", "'Markets' is a table of the round results files: a table you build cannot take its "
                        "name."},
            {"[sysTables]",
             "'sysTables' is one of Quorvane's own tables: a table you build cannot take its name."},
        };
        for (const auto& c : cases) {
            prompter_->messages.clear();
            wizard.txtSql[1]->selectAll();
            type(wizard, 1, c.into);
            QTest::keyClick(wizard.txtSql[1], Qt::Key_Return);
            QCOMPARE(prompter_->messages.size(), size_t(1));
            QCOMPARE(prompter_->messages[0].text, QString::fromUtf8(c.refusal));
            QCOMPARE(prompter_->messages[0].title, QStringLiteral("Error"));
            QVERIFY(prompter_->messages[0].isError);
            QCOMPARE(wizard.txtSql[1]->text(), QStringLiteral("[Top Bids]"));
            QCOMPARE(column(QStringLiteral("SELECT [Txt1] FROM [sysQueryBuilder]")),
                     QStringList{QStringLiteral("[Top Bids]")});
        }
        // Run while the refused text is still being typed: refused, nothing built.
        prompter_->messages.clear();
        wizard.txtSql[1]->selectAll();
        type(wizard, 1, "Markets");
        wizard.cmdRun->click();
        QCOMPARE(prompter_->titles(), QStringList{QStringLiteral("Error")});
        QCOMPARE(column(QStringLiteral("SELECT [Market Name] FROM [Markets]")).size(), 3);
        QVERIFY(!qv::session().CurrentDatabase->tableExists(QStringLiteral("Top Bids")));
    }

    void runNeedsTheThreeClausesAndAGridWindow()
    {
        frmSql& wizard = openWizard();
        QTest::keyClicks(wizard.txtSql[5], QStringLiteral("Half"));
        type(wizard, 0, "*");
        wizard.cmdRun->click();
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].text, QStringLiteral("SELECT, INTO, and FROM are required fields."));
        QCOMPARE(prompter_->messages[0].title, QStringLiteral("Error"));
        QCOMPARE(prompter_->messages[0].icon, qv::Icon::Exclamation);

        type(wizard, 1, "Misspelt");
        type(wizard, 2, "[All Bids]");
        wizard.txtSql[0]->clear();
        type(wizard, 0, "[Nope]");
        wizard.cmdRun->click();
        QCOMPARE(prompter_->messages.size(), size_t(2));
        QVERIFY(prompter_->messages[1].text.startsWith(QStringLiteral("Error 3061: ")));
        QVERIFY(column(QStringLiteral("SELECT [TableName] FROM [sysTables] WHERE [TableName] = 'Misspelt'"))
                    .isEmpty());

        main_->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        wizard.cmdRun->click();
        QCOMPARE(prompter_->messages.size(), size_t(3));
        QCOMPARE(prompter_->messages[2].text,
                 QStringLiteral("  A data grid must be opened to use this function.\r"
                                "Open a data grid with the New button and try again"));
    }

private:
    frmSql& openWizard()
    {
        main_->mnuClick(QStringLiteral("mnuToolsSQLCommandLine"));
        auto* wizard = main_->findChild<frmSql*>();
        Q_ASSERT(wizard != nullptr);
        return *wizard;
    }
    static void type(frmSql& wizard, int box, const char* text)
    {
        QTest::keyClicks(wizard.txtSql[box], QString::fromUtf8(text));
    }

    QTemporaryDir folder_;
    QString path_;
    std::unique_ptr<qv::test::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> main_;
    frmFlexGrid* grid_ = nullptr;
};

QTEST_MAIN(SqlWizardTest)
#include "sql_wizard_test.moc"
