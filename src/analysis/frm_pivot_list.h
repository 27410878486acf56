#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

// The Qt Test class that drives the dialog through its controls.
class AnalysisWindowTest;

namespace qv::analysis {

// "Select Analysis Criteria": the licences or bidders an analysis takes, any
// number of them (Shift-click for a range, Ctrl-click for one more or less).
class frmPivotList : public QDialog {
    Q_OBJECT
public:
    explicit frmPivotList(QWidget* parent = nullptr);

    // Lists the entries to choose from, none chosen, under the prompt.
    void setChoices(const QStringList& items, const QString& prompt);
    // The chosen entries, in list order.
    QStringList chosenItems() const;

    // Set by Cancel (and by closing the window); the analysis clears it.
    bool cancelled = false;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Tests drive the dialog through its controls, as a user does.
    friend class ::AnalysisWindowTest;

    QLabel* Label1;
    QListWidget* List1;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace qv::analysis
