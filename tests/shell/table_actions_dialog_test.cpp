// The table actions dialog on its own: its moves, drag flags, the wizard
// tab's mirroring and the filter value lists.
#include "grid/frm_table_actions.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using qv::grid::frmTableActions;

namespace {

QStringList texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QStringList texts(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

void pick(QListWidget* list, const QString& text)
{
    list->setCurrentItem(list->findItems(text, Qt::MatchExactly).value(0));
}

const QStringList fields{QStringLiteral("Round"), QStringLiteral("Bidder"), QStringLiteral("Market"),
                         QStringLiteral("Gross Bid Amount")};

} // namespace

class TableActionsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithItsTitleTabsAndFirstChoices()
    {
        frmTableActions dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Table Actions"));
        QCOMPARE(dialog.SSTab1->count(), 3);
        QCOMPARE(dialog.SSTab1->tabText(2), QStringLiteral("Table Wizard"));
        QCOMPARE(texts(dialog.lstOp[3]),
                 (QStringList{QStringLiteral("="), QStringLiteral("<>"), QStringLiteral(">"),
                              QStringLiteral(">="), QStringLiteral("<"), QStringLiteral("<=")}));
        QCOMPARE(dialog.lstOp[0]->currentText(), QStringLiteral("="));
        QCOMPARE(dialog.lstAndOr[2]->currentText(), QStringLiteral("And"));
        QVERIFY(dialog.findChild<QComboBox*>(QStringLiteral("txtFilter4"))->isEditable());
        QVERIFY(!dialog.cancelled());
        // Cancel sets the flag and hides; OK only hides.
        dialog.show();
        dialog.cmdCancel->click();
        QVERIFY(dialog.cancelled() && dialog.isHidden());
        dialog.setCancelled(false);
        dialog.show();
        dialog.cmdOK->click();
        QVERIFY(!dialog.cancelled() && dialog.isHidden());
    }

    void sortColumnsMoveByDoubleClickTickedInClickOrder()
    {
        frmTableActions dialog;
        dialog.prepareColumns(fields);
        // Filling chooses no filter column.
        QCOMPARE(dialog.lstFiltCol[0]->currentText(), QString());
        QCOMPARE(texts(dialog.lstFiltCol[2]), fields);
        for (const char* name : {"Market", "Round", "Bidder"}) {
            pick(dialog.lstSource, QLatin1String(name));
            dialog.lstSource_DblClick();
        }
        QCOMPARE(texts(dialog.lstSortCols),
                 (QStringList{QStringLiteral("Market"), QStringLiteral("Round"), QStringLiteral("Bidder")}));
        QCOMPARE(texts(dialog.lstSource), QStringList{QStringLiteral("Gross Bid Amount")});
        dialog.lstSortCols->item(1)->setCheckState(Qt::Unchecked);
        const auto sort = dialog.sortColumns();
        QVERIFY(sort[0].ascending && !sort[1].ascending && sort[2].ascending);
        // And back.
        pick(dialog.lstSortCols, QStringLiteral("Round"));
        dialog.lstSortCols_DblClick();
        QCOMPARE(texts(dialog.lstSource),
                 (QStringList{QStringLiteral("Gross Bid Amount"), QStringLiteral("Round")}));
        QCOMPARE(dialog.lstSortCols->count(), 2);
    }

    void dragFlagsKeepADropOnItsOwnListFromMoving()
    {
        frmTableActions dialog;
        dialog.prepareColumns(fields);
        // From lstSource to lstSortCols.
        pick(dialog.lstSource, QStringLiteral("Bidder"));
        dialog.lstSource_StartDrag();
        QCOMPARE(dialog.lstSource->Tag, QStringLiteral("True"));
        dialog.lstSortCols_DragDrop(QStringLiteral("Bidder"));
        QCOMPARE(texts(dialog.lstSortCols), QStringList{QStringLiteral("Bidder")});
        QCOMPARE(dialog.lstSortCols->item(0)->checkState(), Qt::Checked);
        QVERIFY(!texts(dialog.lstSource).contains(QStringLiteral("Bidder")));
        QCOMPARE(dialog.lstSource->Tag, QString());
        // lstSortCols dropped on itself: nothing moves, the flag clears.
        pick(dialog.lstSortCols, QStringLiteral("Bidder"));
        dialog.lstSortCols_StartDrag();
        dialog.lstSortCols_DragDrop(QStringLiteral("Bidder"));
        QCOMPARE(dialog.lstSortCols->count(), 1);
        QCOMPARE(dialog.lstSource->count(), 3);
        QCOMPARE(dialog.lstSortCols->Tag, QString());
        // lstSortCols to lstSource.
        dialog.lstSortCols_StartDrag();
        dialog.lstSource_DragDrop(QStringLiteral("Bidder"));
        QCOMPARE(dialog.lstSortCols->count(), 0);
        QCOMPARE(dialog.lstSource->count(), 4);
        QCOMPARE(dialog.lstSortCols->Tag, QString());
        // lstSource dropped on itself.
        pick(dialog.lstSource, QStringLiteral("Round"));
        dialog.lstSource_StartDrag();
        dialog.lstSource_DragDrop(QStringLiteral("Round"));
        QCOMPARE(dialog.lstSource->count(), 4);
        QCOMPARE(dialog.lstSource->Tag, QString());
    }

    void wizardTargetsMirrorIntoFilterAndSortLists()
    {
        frmTableActions dialog;
        dialog.lstSourceTable->addItems(fields);
        for (const char* name : {"Bidder", "Round", "Gross Bid Amount"}) {
            pick(dialog.lstSourceTable, QLatin1String(name));
            dialog.lstSourceTable_DblClick();
        }
        const QStringList chosen{QStringLiteral("Bidder"), QStringLiteral("Round"),
                                 QStringLiteral("Gross Bid Amount")};
        QCOMPARE(texts(dialog.lstTargetTable), chosen);
        QCOMPARE(texts(dialog.lstSource), chosen);
        for (QComboBox* list : dialog.lstFiltCol) {
            QCOMPARE(texts(list), chosen);
            QCOMPARE(list->currentIndex(), -1);
        }
        QCOMPARE(texts(dialog.lstSourceTable), QStringList{QStringLiteral("Market")});

        // The user sorts by Round meanwhile; taking Round back out of the
        // target list takes it out of the sort list too, and fails nowhere.
        pick(dialog.lstSource, QStringLiteral("Round"));
        dialog.lstSource_DblClick();
        dialog.lstFiltCol[1]->setCurrentIndex(1);
        pick(dialog.lstTargetTable, QStringLiteral("Round"));
        dialog.lstSourceTable_DragDrop();
        const QStringList left{QStringLiteral("Bidder"), QStringLiteral("Gross Bid Amount")};
        QCOMPARE(texts(dialog.lstTargetTable), left);
        QCOMPARE(texts(dialog.lstSource), left);
        QCOMPARE(dialog.lstSortCols->count(), 0);
        QCOMPARE(texts(dialog.lstFiltCol[1]), left);
        QCOMPARE(dialog.lstFiltCol[1]->currentText(), QString());
        QCOMPARE(texts(dialog.lstSourceTable),
                 (QStringList{QStringLiteral("Market"), QStringLiteral("Round")}));
        // A drop with no current entry in the other list does nothing.
        dialog.lstSourceTable->setCurrentItem(nullptr);
        dialog.lstTargetTable_DragDrop();
        QCOMPARE(dialog.lstTargetTable->count(), 2);
    }

    void choosingAFilterColumnListsItsValues()
    {
        frmTableActions dialog;
        QStringList asked;
        dialog.distinctValues = [&asked](const QString& column) -> std::optional<QStringList> {
            asked << column;
            if (column == QLatin1String("Market"))
                return std::nullopt; // nothing to read: the list stays as it was
            return QStringList{QStringLiteral("Heron"), QString(), QStringLiteral("Osprey")};
        };
        dialog.prepareColumns(fields);
        QVERIFY(asked.isEmpty());
        dialog.txtFilter[1]->setEditText(QStringLiteral("typed"));
        dialog.lstFiltCol[1]->setCurrentIndex(1);
        QCOMPARE(asked, QStringList{QStringLiteral("Bidder")});
        QCOMPARE(texts(dialog.txtFilter[1]),
                 (QStringList{QStringLiteral("Heron"), QString(), QStringLiteral("Osprey")}));
        QCOMPARE(dialog.txtFilter[1]->currentText(), QString());
        dialog.lstFiltCol[1]->setCurrentIndex(2);
        QCOMPARE(dialog.txtFilter[1]->count(), 3);
        // Reading the choices back.
        dialog.lstFiltCol[1]->setCurrentIndex(1);
        dialog.lstOp[1]->setCurrentIndex(3);
        dialog.txtFilter[1]->setEditText(QStringLiteral("Heron"));
        dialog.lstAndOr[0]->setCurrentIndex(1);
        QCOMPARE(dialog.conditions()[1].column, QStringLiteral("Bidder"));
        QCOMPARE(dialog.conditions()[1].op, QStringLiteral(">="));
        QCOMPARE(dialog.conditions()[1].value, QStringLiteral("Heron"));
        QCOMPARE(dialog.joiners()[0], QStringLiteral("Or"));
    }
};

QTEST_MAIN(TableActionsDialogTest)
#include "table_actions_dialog_test.moc"
