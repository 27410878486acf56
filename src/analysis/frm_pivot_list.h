#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace qv::analysis {

// "Select Analysis Criteria": the licences or bidders an analysis takes, any
// number of them (Shift-click for a range, Ctrl-click for one more or less).
class frmPivotList : public QDialog {
    Q_OBJECT
public:
    explicit frmPivotList(QWidget* parent = nullptr);

    QLabel* Label1;
    QListWidget* List1;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // Set by Cancel (and by closing the window); the analysis clears it.
    bool cancelled = false;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

} // namespace qv::analysis
