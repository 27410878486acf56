#pragma once

#include "grid/spread_grid.h"
#include "summary/core/summary_sheet.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace qv {
class Error;
class Prompter;
} // namespace qv

namespace qv::summary {

// "Round Summary": the twenty figures of one round in a 5 by 12 grid. While
// it is the active child window the frame's table commands are switched off.
class frmSummary : public QWidget {
    Q_OBJECT
public:
    explicit frmSummary(Prompter& prompter, QWidget* parent = nullptr);
    ~frmSummary() override;

    grid::SpreadGrid* vaSpread1;
    QLabel* lblRound;
    QComboBox* ddlRound;
    QPushButton* cmdPrint;
    QPushButton* cmdClose;

    int auctionNumber() const { return auction_; }

    // Load: the round list (which fills the newest round's figures), the
    // auction number, the labels. Run once the window is shown.
    void Form_Load();
    void PopulateRounds();
    void FillSummary();
    void GetAuction();
    void Form_Activate();
    void Form_Deactivate();
    void ddlRound_Click();
    void cmdPrint_Click();

signals:
    // The frame's table commands on (false while this window is active).
    void tableCommandsWanted(bool enabled);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showSheet();
    void report(const Error& error);

    Prompter& prompter_;
    SummarySheet sheet_;
    int auction_ = 0;
    bool activationHooked_ = false;
};

} // namespace qv::summary
