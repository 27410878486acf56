// The grid widget: cells, alignment, the user's blocks, frozen columns and
// the export of what it shows.
#include "common/error.h"
#include "grid/core/tab_export.h"
#include "grid/spread_grid.h"
#include "store/database.h"

#include <QFile>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>

using qv::grid::SpreadGrid;

class SpreadGridTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        db_ = qv::store::Database::create(folder_.filePath(QStringLiteral("grid.mdb")));
        db_->beginTrans();
        db_->execute(QStringLiteral("CREATE TABLE [T] ([Name] Text, [Amount] Number, [Note] Text)"));
        db_->execute(QStringLiteral("INSERT INTO [T] VALUES ('Heron', 1500, 'a')"));
        db_->execute(QStringLiteral("INSERT INTO [T] VALUES ('Kestrel', 12345678.25, NULL)"));
        db_->execute(QStringLiteral("INSERT INTO [T] VALUES ('Osprey', 0.5, 'c')"));
        db_->commitTrans();
    }

    void init()
    {
        grid_ = std::make_unique<SpreadGrid>();
        grid_->resize(600, 300);
        grid_->setRecordset(
            db_->openRecordset(QStringLiteral("SELECT * FROM [T]"), qv::store::RecordsetType::Snapshot));
    }

    void showsFieldsAndFormatsNumbersPlainly()
    {
        QCOMPARE(grid_->maxCols(), 3);
        QCOMPARE(grid_->maxRows(), 3);
        grid_->Row = 0;
        grid_->Col = 2;
        QCOMPARE(grid_->text(), QStringLiteral("Amount"));
        grid_->Row = 2;
        QCOMPARE(grid_->text(), QStringLiteral("12345678.25"));
        grid_->Col = 3;
        QCOMPARE(grid_->text(), QString());
        grid_->setText(QStringLiteral("written"));
        QCOMPARE(grid_->text(), QStringLiteral("written"));
    }

    void alignmentOfACellOrABlock()
    {
        grid_->Col = 1;
        grid_->Row = 1;
        grid_->Col2 = 2;
        grid_->Row2 = 2;
        grid_->BlockMode = true;
        grid_->setTypeHAlign(Qt::AlignHCenter);
        auto& model = grid_->recordsetModel();
        auto align = [&model](int r, int c) {
            return Qt::Alignment(model.data(model.index(r, c), Qt::TextAlignmentRole).toInt()) &
                   Qt::AlignHorizontal_Mask;
        };
        QCOMPARE(align(1, 1), Qt::AlignHCenter);
        QCOMPARE(align(0, 0), Qt::AlignHCenter);
        QCOMPARE(align(2, 0), Qt::AlignLeft);
        QCOMPARE(align(2, 1), Qt::AlignRight);
    }

    void selectionBlocksAndWholeColumns()
    {
        auto* selection = grid_->selectionModel();
        auto& model = grid_->recordsetModel();
        selection->select(QItemSelection(model.index(0, 0), model.index(1, 1)), QItemSelectionModel::Select);
        grid_->selectColumn(2);
        selection->select(QItemSelection(model.index(0, 0), model.index(1, 1)), QItemSelectionModel::Select);
        grid_->gatherSelection();
        QCOMPARE(grid_->selectionCount(), 2);
        grid_->setSelectionIndex(0);
        QCOMPARE((QList<int>{grid_->Col, grid_->Row, grid_->Col2, grid_->Row2}), (QList<int>{3, -1, 3, -1}));
        grid_->setSelectionIndex(1);
        QCOMPARE((QList<int>{grid_->Col, grid_->Row, grid_->Col2, grid_->Row2}), (QList<int>{1, 1, 2, 2}));
    }

    void frozenColumnsAndRowHeader()
    {
        grid_->show();
        grid_->setColsFrozen(2);
        QCOMPARE(grid_->colsFrozen(), 2);
        grid_->setColsFrozen(9);
        QCOMPARE(grid_->colsFrozen(), 3);
        grid_->setColsFrozen(0);
        QCOMPARE(grid_->colsFrozen(), 0);
        grid_->setColWidth(0, 5);
        QVERIFY(qAbs(grid_->colWidth(0) - 5) < 0.5);
        // A new record set with fewer columns lets go of columns it lacks.
        grid_->setColsFrozen(3);
        grid_->setRecordset(db_->openRecordset(QStringLiteral("SELECT [Name] FROM [T]")));
        QCOMPARE(grid_->colsFrozen(), 0);
    }

    void frozenViewHoldsTheRowsOnlyWhileColumnsAreFrozen()
    {
        grid_->show();
        QTableView* frozen = grid_->findChild<QTableView*>();
        QVERIFY(frozen);
        // Unfrozen, it keeps no row header of its own for the table's rows.
        QCOMPARE(frozen->verticalHeader()->count(), 0);
        grid_->setColsFrozen(1);
        QCOMPARE(frozen->model(), grid_->model());
        QCOMPARE(frozen->verticalHeader()->count(), 3);
        QCOMPARE(frozen->model()->index(1, 0).data().toString(), QStringLiteral("Kestrel"));
        QVERIFY(!frozen->isColumnHidden(0));
        QVERIFY(frozen->isColumnHidden(1));
        // Frozen again after letting go: one selection, shared with the grid.
        grid_->setColsFrozen(0);
        QCOMPARE(frozen->verticalHeader()->count(), 0);
        grid_->setColsFrozen(2);
        QCOMPARE(frozen->selectionModel(), grid_->selectionModel());
        grid_->setCurrentIndex(grid_->model()->index(2, 1));
        QVERIFY(frozen->selectionModel()->isSelected(frozen->model()->index(2, 1)));
        // A new record set keeps the columns frozen over its rows.
        grid_->setRecordset(db_->openRecordset(QStringLiteral("SELECT * FROM [T] WHERE [Amount] > 1"),
                                               qv::store::RecordsetType::Snapshot));
        QCOMPARE(grid_->colsFrozen(), 2);
        QCOMPARE(frozen->verticalHeader()->count(), 2);
    }

    void exportWritesTheCellsTheGridShows()
    {
        const auto& model = grid_->recordsetModel();
        qv::grid::TabRows rows;
        rows.header = QStringList{QStringLiteral("Name"), QStringLiteral("Amount"), QStringLiteral("Note")};
        rows.rowCount = model.rowCount();
        rows.columnCount = model.columnCount();
        rows.cell = [&model](int row, int column) { return model.cellText(row, column); };
        const QString path = folder_.filePath(QStringLiteral("out.txt"));
        qv::grid::exportTabFile(path, rows);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("Name\tAmount\tNote\r\nHeron\t1500\ta\r\nKestrel\t12345678.25\t\r\n"
                            "Osprey\t0.5\tc\r\n"));
        QVERIFY_THROWS_EXCEPTION(
            qv::Error,
            qv::grid::exportTabFile(folder_.filePath(QStringLiteral("no/such/folder/out.txt")), rows));
    }

private:
    QTemporaryDir folder_;
    qv::store::DatabasePtr db_;
    std::unique_ptr<SpreadGrid> grid_;
};

QTEST_MAIN(SpreadGridTest)
#include "spread_grid_test.moc"
