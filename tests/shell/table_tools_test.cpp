// The grid window's table tools on a small auction: choosing a list entry
// again, sorting, filtering, reset, the table wizard, statistics, freezing.
#include "auction_fixture.h"
#include "grid/frm_flex_grid.h"
#include "shell/frm_main.h"
#include "shell/grid_window_factory.h"
#include "store/session.h"
#include "support/scripted_prompter.h"

#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>

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

class TableToolsTest : public QObject {
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

    void choosingTheSelectedEntryAgainReloads()
    {
        choose(grid_->ddlTableName, QStringLiteral("All Bids"));
        choose(grid_->ddlRoundNum, QStringLiteral("2"));
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
        QCOMPARE(column(*grid_, 3), (QStringList{QStringLiteral("Albany"), QStringLiteral("Boston")}));
        QVERIFY(prompter_->messages.empty());
    }

private:
    QTemporaryDir folder_;
    QString path_;
    std::unique_ptr<qv::test::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> main_;
    frmFlexGrid* grid_ = nullptr;
};

QTEST_MAIN(TableToolsTest)
#include "table_tools_test.moc"
