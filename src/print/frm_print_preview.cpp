#include "print/frm_print_preview.h"

#include "common/error.h"
#include "common/prompter.h"
#include "grid/grid_print_action.h"
#include "grid/spread_grid.h"
#include "print/grid_lookup.h"
#include "print/page_preview.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace qv::print {

frmPrintPreview::frmPrintPreview(QWidget* activeChild, Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmPrintPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));
    setAttribute(Qt::WA_DeleteOnClose);

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    const std::pair<const char*, QStyle::StandardPixmap> buttons[] = {{"Previous", QStyle::SP_ArrowLeft},
                                                                      {"Next", QStyle::SP_ArrowRight}};
    for (const auto& [key, icon] : buttons) {
        QAction* button = Toolbar1->addAction(style()->standardIcon(icon), QLatin1String(key));
        button->setObjectName(QLatin1String(key));
        button->setData(QLatin1String(key));
        const QString name = QLatin1String(key);
        connect(button, &QAction::triggered, this, [this, name] { Toolbar1_ButtonClick(name); });
    }
    txtPage = new QLineEdit(this);
    txtPage->setObjectName(QStringLiteral("txtPage"));
    txtPage->setReadOnly(true);
    txtPage->setMinimumWidth(140);
    txtZoom = new QLabel(QStringLiteral("Zoom:"), this);
    txtZoom->setObjectName(QStringLiteral("txtZoom"));
    cmbZoom = new QComboBox(this);
    cmbZoom->setObjectName(QStringLiteral("cmbZoom"));
    cmbZoom->addItems(
        {QStringLiteral("100%"), QStringLiteral("75%"), QStringLiteral("50%"), QStringLiteral("25%")});
    cmdPrint = new QPushButton(QStringLiteral("Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    vaSpreadPreview1 = new PagePreview(this);

    auto* top = new QHBoxLayout;
    top->addWidget(Toolbar1);
    top->addWidget(txtPage);
    top->addSpacing(12);
    top->addWidget(txtZoom);
    top->addWidget(cmbZoom);
    top->addStretch();
    top->addWidget(cmdPrint);
    top->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    // The pages take whatever room the window has.
    layout->addWidget(vaSpreadPreview1, 1);
    resize(900, 700);

    connect(vaSpreadPreview1, &PagePreview::pageChanged, this, &frmPrintPreview::vaSpreadPreview1_PageChange);
    connect(cmbZoom, &QComboBox::activated, this, &frmPrintPreview::cmbZoom_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPrintPreview::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    Form_Load(activeChild);
}

void frmPrintPreview::Form_Load(QWidget* activeChild)
{
    try {
        grid::SpreadGrid& grid = activeGrid(activeChild);
        pageCount_ = grid.printPageCount();
        vaSpreadPreview1->setJob(grid.printJob());
        grid_ = &grid;
        txtPage->setText(QStringLiteral("Page 1 of ") + QString::number(pageCount_));
    } catch (const Error& error) {
        reportLoadError(prompter_, error);
    }
}

void frmPrintPreview::Toolbar1_ButtonClick(const QString& key)
{
    const int page = vaSpreadPreview1->currentPage();
    if (key == QLatin1String("Next")) {
        if (page != pageCount_)
            vaSpreadPreview1->setCurrentPage(page + 1);
    } else if (key == QLatin1String("Previous")) {
        if (page != 1)
            vaSpreadPreview1->setCurrentPage(page - 1);
    }
}

void frmPrintPreview::vaSpreadPreview1_PageChange(int page)
{
    txtPage->setText(QStringLiteral("Page ") + QString::number(page) + QStringLiteral(" of ") +
                     QString::number(pageCount_));
}

void frmPrintPreview::cmbZoom_Click()
{
    ApplyZoom();
}

void frmPrintPreview::ApplyZoom()
{
    const QString text = cmbZoom->currentText();
    for (int percent : {100, 75, 50, 25}) {
        if (text == QString::number(percent) + QLatin1Char('%')) {
            vaSpreadPreview1->setZoom(percent);
            return;
        }
    }
}

void frmPrintPreview::cmdPrint_Click()
{
    try {
        if (grid_ == nullptr)
            throw objectNotSet(Advice::OpenGridWindow);
        grid::runPrintAction(*grid_, this);
        close();
    } catch (const Error& error) {
        prompter_.error(error, ErrorLayout::Command);
    }
}

} // namespace qv::print
