// The main window's stored placement, and the compaction at exit.
#include "shell/frm_main.h"
#include "shell/window_placement.h"
#include "store/database.h"
#include "store/session.h"
#include "support/concurrent_import.h"
#include "support/scripted_prompter.h"

#include <QDir>
#include <QFile>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace qv::shell;

namespace {

int px(double twips, const QWidget& w)
{
    return twipsToPixels(twips, w.screen()->logicalDotsPerInchX());
}

QString stored(const char* key)
{
    QSettings settings(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
    return settings.value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
}

} // namespace

class PlacementExitTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        config_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", config_->path().toLocal8Bit());
    }

    // Nothing stored: four fifths of the screen each way, centred, not the
    // 6500 twips square (433 pixels) of a stored placement's defaults.
    void firstRunTakesAShareOfTheScreen()
    {
        qv::test::ScriptedPrompter prompter;
        frmMain main(&prompter);
        const QRect area = main.screen()->availableGeometry();
        QCOMPARE(main.size(), QSize(area.width() * 4 / 5, area.height() * 4 / 5));
        QVERIFY(qAbs(main.geometry().center().x() - area.center().x()) <= 1);
        QVERIFY(qAbs(main.geometry().center().y() - area.center().y()) <= 1);
        // One value stored is a stored placement: the others take their defaults.
        QSettings(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"))
            .setValue(QStringLiteral("Settings/MainLeft"), QStringLiteral("1440"));
        frmMain second(&prompter);
        QCOMPARE(second.pos(), QPoint(px(1440, second), px(1000, second)));
        QCOMPARE(second.size(), QSize(px(6500, second), px(6500, second)));
    }

    void placementRoundTrips()
    {
        writePlacement({1440, 720, 10000, 7000});
        qv::test::ScriptedPrompter prompter;
        frmMain main(&prompter);
        QCOMPARE(main.pos(), QPoint(px(1440, main), px(720, main)));
        main.resize(px(9000, main), px(6000, main));
        main.MDIForm_Unload();
        QCOMPARE(stored("MainLeft"), QStringLiteral("1440"));
        QCOMPARE(stored("MainTop"), QStringLiteral("720"));
        QCOMPARE(stored("MainWidth"), QStringLiteral("9000"));
        QCOMPARE(stored("MainHeight"), QStringLiteral("6000"));
    }

    void minimisedExitLeavesThePlacement()
    {
        writePlacement({1000, 1000, 6500, 6500});
        qv::test::ScriptedPrompter prompter;
        frmMain main(&prompter);
        main.resize(300, 200);
        main.showMinimized();
        main.setWindowState(Qt::WindowMinimized);
        QVERIFY(main.isMinimized());
        main.MDIForm_Unload();
        QCOMPARE(stored("MainWidth"), QStringLiteral("6500"));
    }

    void offScreenPlacementComesBack()
    {
        const QRect screen(0, 0, 1280, 800);
        QCOMPARE(onScreen(QRect(5000, 4000, 400, 300), screen), QRect(0, 0, 400, 300));
        QCOMPARE(onScreen(QRect(-3000, 10, 2000, 2000), screen), QRect(0, 0, 1280, 800));
        QCOMPARE(onScreen(QRect(100, 100, 400, 300), screen), QRect(100, 100, 400, 300));

        writePlacement({500000, 500000, 6500, 6500});
        qv::test::ScriptedPrompter prompter;
        frmMain main(&prompter);
        QVERIFY(main.screen()->availableGeometry().intersects(QRect(main.pos(), main.size())));
    }

    void exitCompactsBesideTheDatabaseKeepingEveryRow()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Auction5.mdb"));
        {
            auto db = qv::store::Database::create(path);
            db->execute(QStringLiteral("CREATE TABLE [sysRounds] ([Round] Number)"));
            for (int round = 1; round <= 40; ++round)
                db->execute(QStringLiteral("INSERT INTO [sysRounds] ([Round]) VALUES (") +
                            QString::number(round) + QLatin1Char(')'));
            db->execute(QStringLiteral("DELETE * FROM [sysRounds] WHERE [Round] > 30"));
        }
        qv::OpenAuctionDatabase(path);
        qv::test::ScriptedPrompter prompter;
        frmMain main(&prompter);
        main.close(); // unload: placement saved, database closed
        QVERIFY(qv::session().CurrentDatabase == nullptr);
        QCOMPARE(qv::session().CurrentDatabasePath, path);

        QVERIFY(main.ReorganizeDatabase());
        QCOMPARE(main.statusText(1), QStringLiteral("Optimizing Database...Please Standby!"));
        QVERIFY(prompter.messages.empty());
        QVERIFY(QFile::exists(path));
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("REORG.MDB"))));
        auto reopened = qv::store::Database::open(path);
        auto rows = reopened->openRecordset(QStringLiteral("SELECT [Round] FROM [sysRounds]"));
        rows->moveLast();
        QCOMPARE(rows->recordCount(), 30);
    }

    void failedCompactionKeepsTheOldFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Auction7.mdb"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a database at all");
        file.close();
        qv::session().CurrentDatabasePath = path;

        qv::test::ScriptedPrompter prompter;
        frmMain main(&prompter);
        QVERIFY(!main.ReorganizeDatabase());
        QCOMPARE(prompter.messages.size(), size_t(1));
        QVERIFY(prompter.messages[0].text.startsWith(QStringLiteral("Error: ")));
        QVERIFY(QFile::exists(path));
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("not a database at all"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("Auction7.mdb")});
    }

    void importOfAnotherProgramDuringTheExitCompactionIsKept()
    {
        // A scheduled quorvane-cli import writes while the program compacts.
        QTemporaryDir folder;
        const qv::test::GeneratedAuction auction = qv::test::makeGeneratedAuction(folder.path(), 2);
        QCOMPARE(qv::test::roundsOf(auction.path), QList<int>{1});
        qv::OpenAuctionDatabase(auction.path);
        qv::test::ScriptedPrompter prompter;
        frmMain main(&prompter);
        main.close();

        qv::test::ImportingProcess import(auction, 2);
        const bool overlapped = import.waitUntilWriting();
        const bool compacted = main.ReorganizeDatabase();
        const int importCode = import.finish();
        QVERIFY2(importCode == 0, qPrintable(import.output()));
        QVERIFY(compacted);
        QVERIFY(prompter.messages.empty());
        QCOMPARE(qv::test::roundsOf(auction.path), (QList<int>{1, 2}));
        QVERIFY(qv::test::rowCount(auction.path, QStringLiteral("All Bids"), QStringLiteral("[Round] = 2")) >
                0);
        if (!overlapped)
            qWarning("the import ended before the compaction began");
    }

    void nothingToCompactWithoutAnAuction()
    {
        qv::session().CurrentDatabasePath.clear();
        qv::test::ScriptedPrompter prompter;
        frmMain main(&prompter);
        QVERIFY(main.ReorganizeDatabase());
        QVERIFY(prompter.messages.empty());
    }

private:
    std::unique_ptr<QTemporaryDir> config_;
};

QTEST_MAIN(PlacementExitTest)
#include "placement_exit_test.moc"
