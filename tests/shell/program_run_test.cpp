// How a run of the program ends: at once from the opening dialog, or by
// closing the main window, which compacts the auction database.
#include "analysis/frm_workbooks.h"
#include "auction_fixture.h"
#include "shell/app_main.h"
#include "shell/frm_main.h"
#include "shell/frm_opening_questions.h"
#include "shell/grid_window_factory.h"
#include "store/database.h"
#include "store/session.h"
#include "support/scripted_prompter.h"

#include <QApplication>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

using qv::shell::frmMain;
using qv::shell::frmOpeningQuestions;

namespace {

// Presses a button of the opening dialog each time it appears.
class OpeningAnswers : public QObject {
public:
    explicit OpeningAnswers(QStringList buttons) : buttons_(std::move(buttons))
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<frmOpeningQuestions*>(QApplication::activeModalWidget());
            if (dialog == nullptr || dialog->isHidden() || buttons_.isEmpty())
                return;
            dialog->findChild<QPushButton*>(buttons_.takeFirst())->click();
        });
        timer_.start(5);
    }

private:
    QStringList buttons_;
    QTimer timer_;
};

bool placementStored()
{
    QSettings settings(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
    return settings.contains(QStringLiteral("Settings/MainLeft"));
}

// SQLite's own count of free pages: the dialect has no such function.
int freePages(const QString& path)
{
    auto db = qv::store::Database::open(path);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db->handle(), "PRAGMA freelist_count", -1, &s, nullptr);
    const int pages = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
    sqlite3_finalize(s);
    return pages;
}

// Deletes most rows so that the auction has pages to give back.
void leaveFreePages(const QString& path)
{
    auto db = qv::store::Database::open(path);
    db->execute(QStringLiteral("CREATE TABLE [Scratch] ([Text] Text)"));
    db->beginTrans();
    for (int i = 0; i < 400; ++i)
        db->execute(QStringLiteral("INSERT INTO [Scratch] ([Text]) VALUES ('") +
                    QString(200, QLatin1Char('x')) + QStringLiteral("')"));
    db->commitTrans();
    db->execute(QStringLiteral("DELETE * FROM [Scratch]"));
}

} // namespace

class ProgramRunTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", folder_->path().toLocal8Bit());
        qputenv("QUORVANE_HOME", folder_->path().toLocal8Bit());
        prompter_ = std::make_unique<qv::test::ScriptedPrompter>();
        main_ = std::make_unique<frmMain>(prompter_.get());
        main_->setGridWindowFactory(qv::shell::gridWindowFactory());
        path_ = qv::test::makeSmallAuction(folder_->path());
        leaveFreePages(path_);
    }
    void cleanup()
    {
        main_.reset();
        qv::CloseAuctionDatabase();
        qv::session().CurrentDatabasePath.clear();
    }

    void cancelAtStartEndsBeforeTheEventLoop()
    {
        OpeningAnswers answers({QStringLiteral("cmdCancel")});
        QCOMPARE(qv::shell::runMainWindow(*main_), 0);
        QVERIFY(!placementStored());
        QVERIFY(prompter_->messages.empty());
    }

    void endingFromInsideTheEventLoopLeavesThroughIt()
    {
        // The auction opens; later the opening dialog comes back (as after a
        // cancelled creation) and is cancelled while the event loop runs.
        OpeningAnswers answers({QStringLiteral("cmdContinue"), QStringLiteral("cmdCancel")});
        prompter_->files = {path_};
        QTimer::singleShot(50, main_.get(), [this] { main_->FileOpen(); });
        QCOMPARE(qv::shell::runMainWindow(*main_), 0);
        // Still running here: the database is closed, nothing stored or compacted.
        QVERIFY(qv::session().CurrentDatabase == nullptr);
        QCOMPARE(qv::session().CurrentDatabasePath, path_);
        QVERIFY(!placementStored());
        QVERIFY(freePages(path_) > 0);
        QCOMPARE(main_->mdiArea()->subWindowList().size(), 1);
    }

    void closingTheWindowStoresThePlacementAndCompacts()
    {
        OpeningAnswers answers({QStringLiteral("cmdContinue")});
        prompter_->files = {path_};
        QTimer::singleShot(50, main_.get(), [this] { main_->close(); });
        QCOMPARE(qv::shell::runMainWindow(*main_), 0);
        QVERIFY(placementStored());
        QCOMPARE(main_->statusText(1), QStringLiteral("Optimizing Database...Please Standby!"));
        QVERIFY(qv::session().CurrentDatabase == nullptr);
        QCOMPARE(freePages(path_), 0);
        QVERIFY(prompter_->messages.empty());
    }

    void exitClosesEveryWindowEvenAMinimisedWorkbook()
    {
        OpeningAnswers answers({QStringLiteral("cmdContinue")});
        prompter_->files = {path_};
        QPointer<qv::analysis::frmWorkbooks> workbooks;
        QTimer::singleShot(50, main_.get(), [this, &workbooks] {
            workbooks = new qv::analysis::frmWorkbooks(*prompter_);
            workbooks->show();
            workbooks->showMinimized();
            main_->mnuClick(QStringLiteral("mnuFileExit"));
        });
        // Were the run to go on without its main window, this ends it, late.
        bool stillRunning = false;
        QTimer late;
        late.setSingleShot(true);
        connect(&late, &QTimer::timeout, this, [&stillRunning, &workbooks] {
            stillRunning = true;
            if (workbooks)
                workbooks->close();
        });
        late.start(5000);
        QCOMPARE(qv::shell::runMainWindow(*main_), 0);
        QVERIFY(!stillRunning);
        QVERIFY(workbooks == nullptr || !workbooks->isVisible());
        QCOMPARE(freePages(path_), 0); // compacted as the run ended
        QVERIFY(prompter_->messages.empty());
        delete workbooks.data();
    }

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QString path_;
    std::unique_ptr<qv::test::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> main_;
};

QTEST_MAIN(ProgramRunTest)
#include "program_run_test.moc"
