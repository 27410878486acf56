#include "analysis/frm_rounds.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace qv::analysis {

namespace {

QLineEdit* roundField(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setMaxLength(4);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), field));
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    return field;
}

QPushButton* plainButton(const QString& caption, const char* name, QWidget* parent)
{
    // Neither button answers Enter or Escape.
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

frmRounds::frmRounds(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRounds"));
    setWindowTitle(QStringLiteral("Select Rounds & Bid Type"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    Label3 = new QLabel(
        QStringLiteral("This function will load a copy of Quorvane Workbooks, it may take a few "
                       "minutes to load. Enter the rounds you want to include in the pivot table."),
        this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label1 = new QLabel(QStringLiteral("From:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    mskFrom = roundField(this, "mskFrom");
    Label1->setBuddy(mskFrom);
    Label2 = new QLabel(QStringLiteral("To:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    mskTo = roundField(this, "mskTo");
    Label2->setBuddy(mskTo);
    fraBidType = new QGroupBox(QStringLiteral("Type of Bids to Display"), this);
    optNet = new QRadioButton(QStringLiteral("Net Bids"), fraBidType);
    optNet->setObjectName(QStringLiteral("optNet"));
    optGross = new QRadioButton(QStringLiteral("Gross Bids"), fraBidType);
    optGross->setObjectName(QStringLiteral("optGross"));
    optGross->setChecked(true);
    cmdOK = plainButton(QStringLiteral("OK"), "cmdOK", this);
    cmdCancel = plainButton(QStringLiteral("Cancel"), "cmdCancel", this);
    lblHowToProceed = new QLabel(QStringLiteral("Enter and Escape leave this dialog open: press Tab to reach "
                                                "OK (go on) or Cancel (stop), then Space, or click one."),
                                 this);
    lblHowToProceed->setObjectName(QStringLiteral("lblHowToProceed"));
    lblHowToProceed->setWordWrap(true);

    auto* bidType = new QVBoxLayout(fraBidType);
    bidType->addWidget(optNet);
    bidType->addWidget(optGross);
    auto* rounds = new QGridLayout;
    rounds->addWidget(Label1, 0, 0);
    rounds->addWidget(mskFrom, 0, 1);
    rounds->addWidget(Label2, 1, 0);
    rounds->addWidget(mskTo, 1, 1);
    rounds->setRowStretch(2, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(rounds);
    middle->addSpacing(16);
    middle->addWidget(fraBidType, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addLayout(middle);
    layout->addWidget(lblHowToProceed);
    layout->addLayout(buttons);
    setFixedWidth(400);

    for (QLineEdit* field : {mskFrom, mskTo})
        field->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        cancelled = true;
        done(QDialog::Rejected);
    });
}

void frmRounds::focusFirstRound()
{
    mskFrom->setFocus();
}

QString frmRounds::fromText() const
{
    return mskFrom->text().trimmed();
}

QString frmRounds::toText() const
{
    return mskTo->text().trimmed();
}

bool frmRounds::grossChosen() const
{
    return optGross->isChecked();
}

bool frmRounds::eventFilter(QObject* watched, QEvent* event)
{
    // Typing starts at the first position of a field that gets the focus.
    if (event->type() == QEvent::FocusIn) {
        if (auto* field = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, field, [field] { field->setCursorPosition(0); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmRounds::keyPressEvent(QKeyEvent* event)
{
    // No button is the cancel button: Escape leaves the dialog open.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmRounds::closeEvent(QCloseEvent* event)
{
    // Closing the window ends the analysis, as Cancel does.
    cancelled = true;
    QDialog::closeEvent(event);
}

} // namespace qv::analysis
