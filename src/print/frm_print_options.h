#pragma once

#include <QDialog>
#include <QPointer>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {
class Prompter;
}
namespace qv::grid {
class SpreadGrid;
}

namespace qv::print {

// "Print Options": the orientation and margins (inches) of the active grid
// window's grid. OK writes them to that grid and redraws its page breaks.
class frmPrintOptions : public QDialog {
    Q_OBJECT
public:
    // Reads the grid of activeChild; says so when there is none.
    frmPrintOptions(QWidget* activeChild, Prompter& prompter, QWidget* parent = nullptr);

    QGroupBox* fOrient;
    QRadioButton* optLandscape;
    QRadioButton* optPortrait;
    QGroupBox* fMargins;
    QLineEdit* meLeft;
    QLineEdit* meRight;
    QLineEdit* meTop;
    QLineEdit* meBottom;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();
    void cmdCancel_Click();

    // False when no grid was found to work on: the dialog is not to be shown.
    bool hasGrid() const { return !grid_.isNull(); }

private:
    void Form_Load();

    QPointer<QWidget> child_;
    QPointer<grid::SpreadGrid> grid_;
    Prompter& prompter_;
};

} // namespace qv::print
