#pragma once

#include <QDialog>
#include <QPointer>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;

namespace qv {
class Prompter;
}
namespace qv::grid {
class SpreadGrid;
}

namespace qv::print {

class PagePreview;

// "Print Preview": the pages of the active grid window's grid, one at a time,
// with Previous and Next, a zoom list and Print.
class frmPrintPreview : public QDialog {
    Q_OBJECT
public:
    frmPrintPreview(QWidget* activeChild, Prompter& prompter, QWidget* parent = nullptr);

    QToolBar* Toolbar1;
    QLineEdit* txtPage;
    QLabel* txtZoom;
    QComboBox* cmbZoom;
    QPushButton* cmdPrint;
    QPushButton* cmdClose;
    PagePreview* vaSpreadPreview1;

    int pageCount() const { return pageCount_; }

    void Toolbar1_ButtonClick(const QString& key);
    void vaSpreadPreview1_PageChange(int page);
    void cmbZoom_Click();
    void cmdPrint_Click();

    // False when no grid was found to work on: the dialog is not to be shown.
    bool hasGrid() const { return !grid_.isNull(); }

private:
    void Form_Load(QWidget* activeChild);
    void ApplyZoom();

    Prompter& prompter_;
    QPointer<grid::SpreadGrid> grid_;
    int pageCount_ = 0;
};

} // namespace qv::print
