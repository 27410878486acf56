#include "print/frm_print_options.h"

#include "common/error.h"
#include "common/prompter.h"
#include "grid/grid_routines.h"
#include "grid/spread_grid.h"
#include "print/grid_lookup.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace qv::print {

namespace {

QLineEdit* marginBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    // One digit, a point, two digits: 0.00 to 9.99 inches.
    box->setInputMask(QStringLiteral("9.99;_"));
    box->setMaximumWidth(60);
    return box;
}

// A box's inches; a box that does not hold a number is a type mismatch.
double inches(const QLineEdit& box)
{
    bool ok = false;
    const double value = box.displayText().toDouble(&ok);
    if (!ok)
        throw Error(err::TypeMismatch, QStringLiteral("Type mismatch")).withAdvice(Advice::MarginInInches);
    return value;
}

} // namespace

frmPrintOptions::frmPrintOptions(QWidget* activeChild, Prompter& prompter, QWidget* parent)
    : QDialog(parent), child_(activeChild), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmPrintOptions"));
    setWindowTitle(QStringLiteral("Print Options"));
    setAttribute(Qt::WA_DeleteOnClose);

    fOrient = new QGroupBox(QStringLiteral("Page Orientation"), this);
    fOrient->setObjectName(QStringLiteral("fOrient"));
    optLandscape = new QRadioButton(QStringLiteral("Landscape"), fOrient);
    optLandscape->setObjectName(QStringLiteral("optLandscape"));
    optPortrait = new QRadioButton(QStringLiteral("Portrait"), fOrient);
    optPortrait->setObjectName(QStringLiteral("optPortrait"));
    auto* orientLayout = new QVBoxLayout(fOrient);
    orientLayout->addWidget(optLandscape);
    orientLayout->addWidget(optPortrait);

    fMargins = new QGroupBox(QStringLiteral("Margins"), this);
    fMargins->setObjectName(QStringLiteral("fMargins"));
    meLeft = marginBox("meLeft", fMargins);
    meRight = marginBox("meRight", fMargins);
    meTop = marginBox("meTop", fMargins);
    meBottom = marginBox("meBottom", fMargins);
    auto* marginLayout = new QFormLayout(fMargins);
    marginLayout->addRow(QStringLiteral("Left:"), meLeft);
    marginLayout->addRow(QStringLiteral("Right:"), meRight);
    marginLayout->addRow(QStringLiteral("Top:"), meTop);
    marginLayout->addRow(QStringLiteral("Bottom:"), meBottom);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(fOrient);
    layout->addWidget(fMargins);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmPrintOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrintOptions::cmdCancel_Click);
    Form_Load();
}

void frmPrintOptions::Form_Load()
{
    try {
        grid::SpreadGrid& grid = activeGrid(child_);
        grid_ = &grid;
        const PageSetup& setup = grid.printSetup;
        const double margins[4] = {setup.marginLeft, setup.marginRight, setup.marginTop, setup.marginBottom};
        QLineEdit* boxes[4] = {meLeft, meRight, meTop, meBottom};
        for (int i = 0; i < 4; ++i) {
            const double value = margins[i] / TwipsPerInch;
            boxes[i]->setText(value >= 0 ? QString::number(value, 'f', 2) : QStringLiteral("0"));
        }
        if (setup.orientation == 2)
            optLandscape->setChecked(true);
        else if (setup.orientation == 1)
            optPortrait->setChecked(true);
    } catch (const Error& error) {
        reportLoadError(prompter_, error);
    }
}

void frmPrintOptions::cmdOK_Click()
{
    try {
        if (grid_ == nullptr)
            throw objectNotSet(Advice::OpenGridWindow);
        PageSetup& setup = grid_->printSetup;
        const PageSetup before = setup;
        // Each margin is written before the next box is read.
        setup.marginLeft = inches(*meLeft) * TwipsPerInch;
        setup.marginRight = inches(*meRight) * TwipsPerInch;
        setup.marginTop = inches(*meTop) * TwipsPerInch;
        setup.marginBottom = inches(*meBottom) * TwipsPerInch;
        PageSetup chosen = setup;
        chosen.orientation = optLandscape->isChecked() ? 2 : 1;
        // Margins that leave no room to print on change nothing; the dialog
        // stays open on the margin to make smaller.
        if (const std::optional<Margin> margin = tooLargeMargin(chosen)) {
            setup = before;
            prompter_.errorMessage(tooLargeMarginText(*margin), windowTitle(), Icon::Exclamation);
            QLineEdit* box = std::array{meLeft, meRight, meTop, meBottom}[static_cast<size_t>(*margin)];
            // The message box had the keys: they come back to this dialog.
            activateWindow();
            box->setFocus();
            box->selectAll();
            return;
        }
        setup.orientation = chosen.orientation;
        QPointer<QWidget> child = child_;
        close();
        // The page-break marks follow the new page size.
        if (auto* breaks = qobject_cast<grid::PageBreakRoutines*>(child.data())) {
            breaks->PBreak_Clear();
            breaks->PBreak_Refresh();
        }
    } catch (const Error& error) {
        prompter_.error(error, ErrorLayout::Command);
        close();
    }
}

void frmPrintOptions::cmdCancel_Click()
{
    close();
}

} // namespace qv::print
