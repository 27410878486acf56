#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Qt Test class that drives the dialog through its controls.
class AnalysisWindowTest;

namespace qv::analysis {

// "Select Rounds & Bid Type": the first and last round of an analysis and
// whether it sums gross or net bids. It hides itself on OK and Cancel; the
// analysis reads its choices and its cancelled flag afterwards.
class frmRounds : public QDialog {
    Q_OBJECT
public:
    explicit frmRounds(QWidget* parent = nullptr);

    // Typing starts in the first round's field.
    void focusFirstRound();
    // The rounds as typed, without surrounding spaces.
    QString fromText() const;
    QString toText() const;
    bool grossChosen() const;

    // Set by Cancel (and by closing the window); the analysis clears it.
    bool cancelled = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Tests drive the dialog through its controls, as a user does.
    friend class ::AnalysisWindowTest;

    QLabel* Label3;
    QLabel* Label1;
    QLineEdit* mskFrom; // up to four digits
    QLabel* Label2;
    QLineEdit* mskTo;
    QGroupBox* fraBidType;
    QRadioButton* optNet;
    QRadioButton* optGross;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    // Enter and Escape press no button here: the dialog says what does.
    QLabel* lblHowToProceed;
};

} // namespace qv::analysis
