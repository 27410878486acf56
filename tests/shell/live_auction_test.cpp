// The desktop program beside other programs that import rounds, and the
// status bar around a batch import.
#include "shell/frm_main.h"
#include "shell/frm_opening_questions.h"
#include "shell/grid_window_factory.h"
#include "shell/outside_import_notice.h"
#include "store/session.h"
#include "support/cli_run.h"
#include "support/scripted_prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using qv::shell::frmMain;

namespace {

int cli(const QStringList& args)
{
    return qv::test::runCli(args).code;
}

} // namespace

class LiveAuctionTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        app_ = std::make_unique<QTemporaryDir>(); // a fresh application folder for each test
        QVERIFY(files_.isValid() && app_->isValid());
        qputenv("XDG_CONFIG_HOME", app_->path().toLocal8Bit());
        qputenv("QUORVANE_HOME", app_->path().toLocal8Bit());
        QCOMPARE(cli({QStringLiteral("sample"), files_.path(), QStringLiteral("--rounds"),
                      QStringLiteral("4"), QStringLiteral("--licenses"), QStringLiteral("8"),
                      QStringLiteral("--bidders"), QStringLiteral("3")}),
                 0);
        qv::session().LastImportFile = app_->filePath(QStringLiteral("lastimp.inf"));
        prompter_ = std::make_unique<qv::test::ScriptedPrompter>();
        main_ = std::make_unique<frmMain>(prompter_.get());
        main_->setGridWindowFactory(qv::shell::gridWindowFactory());
        main_->setEndProgram([] {});
    }
    void cleanup()
    {
        main_.reset();
        qv::CloseAuctionDatabase();
    }

    void roundsImportedElsewhereAreOfferedAtTheNextRefillAndToldOnce()
    {
        const QString db = app_->filePath(QStringLiteral("Auction5.mdb"));
        QCOMPARE(cli({QStringLiteral("--app-dir"), app_->path(), QStringLiteral("create"), file(1)}), 0);
        QCOMPARE(cli({QStringLiteral("--app-dir"), app_->path(), QStringLiteral("import"), db, file(2)}), 0);
        qv::OpenAuctionDatabase(db);
        main_->mnuClick(QStringLiteral("mnuFileNew"));
        auto* rounds = main_->activeChild()->findChild<QComboBox*>(QStringLiteral("ddlRoundNum"));
        QCOMPARE(rounds->count(), 2);
        auto* notice = main_->findChild<qv::shell::OutsideImportNotice*>();
        QVERIFY(notice != nullptr);
        notice->check();
        const QString shown = main_->statusText(1);

        // Another program imports round 3 into the open auction.
        QCOMPARE(cli({QStringLiteral("--app-dir"), app_->path(), QStringLiteral("import"), db, file(3)}), 0);
        QCOMPARE(rounds->count(), 2); // nothing reloads on its own
        QCOMPARE(main_->statusText(1), shown);
        notice->check();
        QCOMPARE(main_->statusText(1), QStringLiteral("Round 3 was imported by another program."));
        main_->setStatusText(1, QStringLiteral("All Bids"));
        notice->check();
        QCOMPARE(main_->statusText(1), QStringLiteral("All Bids")); // said once
        QCOMPARE(rounds->count(), 2);

        main_->PopulateRounds();
        QCOMPARE(rounds->count(), 3);
        QCOMPARE(rounds->itemText(0), QStringLiteral("3"));

        // A round this program imports itself is not news.
        prompter_->files = {file(4)};
        main_->mnuClick(QStringLiteral("mnuFileImport"));
        QCOMPARE(prompter_->titles().last(), QStringLiteral("Round Imported Successfully"));
        main_->setStatusText(1, QStringLiteral("All Bids"));
        notice->check();
        QCOMPARE(main_->statusText(1), QStringLiteral("All Bids"));
    }

    void batchImportEndsWithTheStatusPanelClear()
    {
        // Answers the opening dialog with Batch and Continue.
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&answer] {
            auto* dialog = qobject_cast<qv::shell::frmOpeningQuestions*>(QApplication::activeModalWidget());
            if (dialog == nullptr || dialog->isHidden())
                return;
            answer.stop();
            dialog->findChild<QRadioButton*>(QStringLiteral("optBatch"))->setChecked(true);
            dialog->findChild<QPushButton*>(QStringLiteral("cmdContinue"))->click();
        });
        answer.start(5);
        prompter_->answers = {qv::Answer::Yes};
        prompter_->files = {file(1)};
        main_->FileOpen();
        QVERIFY(prompter_->statusTexts.contains(QStringLiteral("Importing round 4...")));
        QCOMPARE(prompter_->titles().last(), QStringLiteral("Finished Batch Import"));
        QCOMPARE(prompter_->statusTexts.last(), QStringLiteral("Status"));
    }

private:
    QString file(int round) const { return files_.filePath(QStringLiteral("05_00%1.zip").arg(round)); }

    QTemporaryDir files_;
    std::unique_ptr<QTemporaryDir> app_;
    std::unique_ptr<qv::test::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> main_;
};

QTEST_MAIN(LiveAuctionTest)
#include "live_auction_test.moc"
