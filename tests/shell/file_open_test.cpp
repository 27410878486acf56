// The opening dialog and what each of its answers leads to.
#include "auction_fixture.h"
#include "shell/frm_main.h"
#include "shell/frm_opening_questions.h"
#include "shell/grid_window_factory.h"
#include "store/session.h"
#include "support/scripted_prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using qv::shell::frmMain;
using qv::shell::frmOpeningQuestions;

namespace {

// Answers the opening dialog each time it appears: an option to pick (or
// none) and the button to press ("close" for the title bar's close box).
class DialogScript : public QObject {
public:
    struct Step {
        const char* option;
        const char* button;
    };

    explicit DialogScript(std::vector<Step> steps) : steps_(std::move(steps))
    {
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start(5);
    }
    int answered() const { return answered_; }

private:
    void poll()
    {
        auto* dialog = qobject_cast<frmOpeningQuestions*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->isHidden() || answered_ >= int(steps_.size()))
            return;
        const Step step = steps_[size_t(answered_++)];
        if (step.option != nullptr)
            dialog->findChild<QRadioButton*>(QLatin1String(step.option))->setChecked(true);
        if (QLatin1String(step.button) == QLatin1String("close"))
            dialog->reject();
        else
            dialog->findChild<QPushButton*>(QLatin1String(step.button))->click();
    }

    std::vector<Step> steps_;
    QTimer timer_;
    int answered_ = 0;
};

} // namespace

class FileOpenTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
        qputenv("QUORVANE_HOME", folder_.path().toLocal8Bit());
        ended_ = false;
        prompter_ = std::make_unique<qv::test::ScriptedPrompter>();
        main_ = std::make_unique<frmMain>(prompter_.get());
        main_->setGridWindowFactory(qv::shell::gridWindowFactory());
        main_->setEndProgram([this] {
            qv::CloseAuctionDatabase();
            ended_ = true;
        });
    }
    void cleanup()
    {
        main_.reset();
        qv::CloseAuctionDatabase();
    }

    void cancelEndsTheProgram()
    {
        DialogScript script(std::vector<DialogScript::Step>{{"optNew", "cmdCancel"}});
        main_->FileOpen();
        QVERIFY(ended_);
        QVERIFY(prompter_->messages.empty());
    }

    void noToTheNewAuctionQuestionEnds()
    {
        DialogScript script(std::vector<DialogScript::Step>{{"optNew", "cmdContinue"}});
        prompter_->answers = {qv::Answer::No};
        main_->FileOpen();
        QVERIFY(ended_);
        QCOMPARE(prompter_->messages.size(), size_t(2));
        QCOMPARE(prompter_->messages[0].text,
                 QStringLiteral("In order to create a new auction, you must have the round results\r"
                                "     file from the first round of the auction you intend to create.\r"
                                "                    Do you have the first round results file?"));
        QCOMPARE(prompter_->messages[0].title, QStringLiteral("New Auction"));
        QCOMPARE(prompter_->messages[0].buttons, qv::Buttons::YesNo);
        QCOMPARE(prompter_->messages[1].text,
                 QStringLiteral("Please download the first round results file for\r"
                                " the auction you intend to create and try again."));
        QCOMPARE(prompter_->messages[1].title, QStringLiteral("Please Try Again"));
        QCOMPARE(prompter_->messages[1].icon, qv::Icon::Information);
    }

    void noToTheBatchQuestionEnds()
    {
        DialogScript script(std::vector<DialogScript::Step>{{"optBatch", "cmdContinue"}});
        prompter_->answers = {qv::Answer::No};
        main_->FileOpen();
        QVERIFY(ended_);
        QCOMPARE(prompter_->messages.size(), size_t(2));
        QCOMPARE(prompter_->messages[0].title, QStringLiteral("Batch Auction Import"));
        QVERIFY(prompter_->messages[0].text.startsWith(QStringLiteral(
            "      In order to batch import a new auction, you must have the round results\r")));
        QCOMPARE(prompter_->messages[1].text,
                 QStringLiteral("Please download the first round results file for\r"
                                "the auction you intend to create and try again."));
    }

    void yesToNewRunsTheCreationWhoseCancelAsksAgain()
    {
        // Creation's file dialog is cancelled, which brings the opening dialog back.
        DialogScript script(
            std::vector<DialogScript::Step>{{"optNew", "cmdContinue"}, {nullptr, "cmdCancel"}});
        prompter_->answers = {qv::Answer::Yes};
        main_->FileOpen();
        QCOMPARE(script.answered(), 2);
        QVERIFY(ended_);
        QVERIFY(!prompter_->fileChoices.empty());
    }

    void yesToBatchTellsWhichFileToPick()
    {
        DialogScript script(
            std::vector<DialogScript::Step>{{"optBatch", "cmdContinue"}, {nullptr, "cmdCancel"}});
        prompter_->answers = {qv::Answer::Yes};
        main_->FileOpen();
        QVERIFY(prompter_->messages.size() >= 2);
        QCOMPARE(prompter_->messages[1].text, QStringLiteral("Please select the round results file for \r"
                                                             "round 1 of the auction you wish to create."));
        QCOMPARE(prompter_->messages[1].title, QStringLiteral("Select File for Round 1"));
        QVERIFY(ended_);
    }

    void cancellingTheDatabaseDialogEnds()
    {
        DialogScript script(std::vector<DialogScript::Step>{{nullptr, "cmdContinue"}});
        main_->FileOpen();
        QVERIFY(ended_);
        QCOMPARE(prompter_->fileChoices.size(), size_t(1));
        QCOMPARE(prompter_->fileChoices[0].filter, QStringLiteral("Access (*.mdb)|*.mdb"));
        QVERIFY(prompter_->fileChoices[0].cancelError);
    }

    void openingAnAuctionShowsItsFirstTableAndNewestRound()
    {
        const QString path = qv::test::makeSmallAuction(folder_.path());
        // The close box counts as the default answer: open an existing auction.
        DialogScript script(std::vector<DialogScript::Step>{{"optBatch", "close"}});
        prompter_->files = {path};
        main_->FileOpen();
        QVERIFY(!ended_);
        QCOMPARE(main_->windowTitle(), QStringLiteral("Quorvane - ") + path);
        QCOMPARE(qv::session().CurrentDatabasePath, path);
        QCOMPARE(main_->mdiArea()->subWindowList().size(), 1);
        QWidget* grid = main_->activeChild();
        auto* tables = grid->findChild<QComboBox*>(QStringLiteral("ddlTableName"));
        auto* rounds = grid->findChild<QComboBox*>(QStringLiteral("ddlRoundNum"));
        QCOMPARE(tables->count(), 4);
        QCOMPARE(tables->currentText(), QStringLiteral("Round Statistics"));
        QCOMPARE(rounds->currentText(), QStringLiteral("3"));
        QCOMPARE(grid->windowTitle(), QStringLiteral("Round Statistics"));
        QCOMPARE(main_->statusText(1), QStringLiteral("Round Statistics"));
        QVERIFY(main_->findChild<frmOpeningQuestions*>() == nullptr ||
                main_->findChild<frmOpeningQuestions*>()->isHidden());
        QVERIFY(prompter_->messages.empty());
    }

    // Help › Open the Sample Auction: the rounds written into the user's
    // Downloads folder once, batch-imported without a file dialog, and the
    // auction opened as an opened one is.
    void theSampleAuctionIsWrittenImportedAndOpened()
    {
        // A home of its own: the auction and the rounds stay out of the other tests' way.
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        qputenv("QUORVANE_HOME", home.path().toLocal8Bit());
        const auto restore = qScopeGuard([this] {
            main_.reset();
            qv::CloseAuctionDatabase();
            qv::session().LastImportFile.clear();
            init();
        });
        const QString downloads = home.filePath(QStringLiteral("dl"));
        QFile dirs(home.filePath(QStringLiteral("user-dirs.dirs")));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DOWNLOAD_DIR=\"" + downloads.toUtf8() + "\"\n");
        dirs.close();
        QDir().mkpath(downloads);
        const QString sample = downloads + QStringLiteral("/quorvane-sample/");
        qv::session().LastImportFile = home.filePath(QStringLiteral("lastimp.inf"));
        main_->mnuClick(QStringLiteral("mnuHelpSample"));
        QVERIFY(QFileInfo(sample + QStringLiteral("05_012.zip")).isFile());
        QVERIFY(!QFileInfo(sample + QStringLiteral("05_013.zip")).exists());
        QVERIFY(prompter_->fileChoices.empty());
        QCOMPARE(prompter_->titles(), QStringList{QStringLiteral("Finished Batch Import")});
        QCOMPARE(prompter_->messages[0].text, QStringLiteral("Finished importing rounds 1 to 12."));
        QVERIFY(qv::session().CurrentDatabasePath.endsWith(QStringLiteral("/Auction5.mdb")));
        QCOMPARE(main_->windowTitle(), QStringLiteral("Quorvane - ") + qv::session().CurrentDatabasePath);
        QCOMPARE(main_->mdiArea()->subWindowList().size(), 1);
        QWidget* grid = main_->activeChild();
        QCOMPARE(grid->findChild<QComboBox*>(QStringLiteral("ddlRoundNum"))->currentText(),
                 QStringLiteral("12"));
        QCOMPARE(grid->findChild<QComboBox*>(QStringLiteral("ddlTableName"))->currentIndex(), 0);

        // Again, over a window of it: the files are kept, the auction is
        // replaced once the user agrees, and one grid window shows it.
        const QDateTime written = QFileInfo(sample + QStringLiteral("05_001.zip")).lastModified();
        prompter_->messages.clear();
        prompter_->answers = {qv::Answer::Yes};
        main_->mnuClick(QStringLiteral("mnuHelpSample"));
        QCOMPARE(QFileInfo(sample + QStringLiteral("05_001.zip")).lastModified(), written);
        QCOMPARE(prompter_->titles(),
                 (QStringList{QStringLiteral("New Auction"), QStringLiteral("Finished Batch Import")}));
        QCOMPARE(main_->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(main_->activeChild()->findChild<QComboBox*>(QStringLiteral("ddlRoundNum"))->currentText(),
                 QStringLiteral("12"));
    }

    // When an open or a batch import fails there is no auction: the opening
    // dialog comes again (here it is cancelled the second time).
    void aFailedOpenOrBatchAsksAgain_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("file");
        QTest::newRow("open") << QStringLiteral("optExisting") << QStringLiteral("Notes.mdb");
        QTest::newRow("batch") << QStringLiteral("optBatch") << QStringLiteral("05_001.zip");
    }
    void aFailedOpenOrBatchAsksAgain()
    {
        QFETCH(QString, option);
        QFETCH(QString, file);
        const QString path = folder_.filePath(file);
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("not what it claims to be");
        damaged.close();
        prompter_->answers = {qv::Answer::Yes};
        prompter_->files = {path};
        const QByteArray name = option.toLatin1();
        DialogScript script(
            std::vector<DialogScript::Step>{{name.constData(), "cmdContinue"}, {nullptr, "cmdCancel"}});
        main_->FileOpen();
        QCOMPARE(script.answered(), 2);
        QVERIFY(ended_);
        QCOMPARE(prompter_->errors().size(), 1);
        QVERIFY(qv::session().CurrentDatabase == nullptr);
    }

private:
    QTemporaryDir folder_;
    bool ended_ = false;
    std::unique_ptr<qv::test::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> main_;
};

QTEST_MAIN(FileOpenTest)
#include "file_open_test.moc"
