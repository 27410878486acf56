#include "analysis/frm_pivot_list.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::analysis {

frmPivotList::frmPivotList(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPivotList"));
    setWindowTitle(QStringLiteral("Select Analysis Criteria"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    Label1 = new QLabel(QStringLiteral("Select the Licenses to Analyze"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Label1->setBuddy(List1);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Neither button answers Enter or Escape.
    for (QPushButton* button : {cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(List1, 1);
    layout->addLayout(buttons);
    resize(320, 380);

    connect(cmdOK, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        cancelled = true;
        done(QDialog::Rejected);
    });
}

void frmPivotList::setChoices(const QStringList& items, const QString& prompt)
{
    List1->clear();
    List1->addItems(items);
    Label1->setText(prompt);
}

QStringList frmPivotList::chosenItems() const
{
    QStringList chosen;
    for (int i = 0; i < List1->count(); ++i) {
        const QListWidgetItem* item = List1->item(i);
        if (item->isSelected())
            chosen << item->text();
    }
    return chosen;
}

void frmPivotList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmPivotList::closeEvent(QCloseEvent* event)
{
    cancelled = true;
    QDialog::closeEvent(event);
}

} // namespace qv::analysis
