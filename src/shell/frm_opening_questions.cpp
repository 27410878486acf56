#include "shell/frm_opening_questions.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv::shell {

frmOpeningQuestions::frmOpeningQuestions(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOpeningQuestions"));
    setWindowTitle(QStringLiteral("Open an Existing Auction or Create a New One?"));
    setModal(true);

    auto* options = new QGroupBox(this);
    optExisting_ = new QRadioButton(QStringLiteral("Open an Existing Auction"), options);
    optExisting_->setObjectName(QStringLiteral("optExisting"));
    optNew_ = new QRadioButton(QStringLiteral("Create a New Auction"), options);
    optNew_->setObjectName(QStringLiteral("optNew"));
    optBatch_ = new QRadioButton(QStringLiteral("Batch Import a New Auction"), options);
    optBatch_->setObjectName(QStringLiteral("optBatch"));
    optExisting_->setChecked(true);
    auto* optionLayout = new QVBoxLayout(options);
    optionLayout->addWidget(optExisting_);
    optionLayout->addWidget(optNew_);
    optionLayout->addWidget(optBatch_);

    cmdContinue_ = new QPushButton(QStringLiteral("Continue"), this);
    cmdContinue_->setObjectName(QStringLiteral("cmdContinue"));
    cmdContinue_->setDefault(true);
    cmdCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdHelp_ = new QPushButton(QStringLiteral("Help"), this);
    cmdHelp_->setObjectName(QStringLiteral("cmdHelp"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdContinue_);
    buttons->addWidget(cmdCancel_);
    buttons->addWidget(cmdHelp_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addLayout(buttons);
    // Wide enough for the title bar to show the whole question beside its buttons.
    QFont bold = font();
    bold.setBold(true);
    setMinimumWidth(QFontMetrics(bold).horizontalAdvance(windowTitle()) + 120);
    setTabOrder(optExisting_, optNew_);
    setTabOrder(optNew_, optBatch_);

    connect(cmdContinue_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel_, &QPushButton::clicked, this, [this] {
        cancelled_ = true;
        reject();
    });
    connect(cmdHelp_, &QPushButton::clicked, this, &frmOpeningQuestions::helpRequested);
}

frmOpeningQuestions::Choice frmOpeningQuestions::choice() const
{
    if (optNew_->isChecked())
        return Choice::New;
    if (optBatch_->isChecked())
        return Choice::Batch;
    return Choice::Existing;
}

} // namespace qv::shell
