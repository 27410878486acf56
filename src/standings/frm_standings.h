#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;

namespace qv {
class Prompter;
}

namespace qv::standings {

class StandingsChartsPage;
class StandingsTableModel;

// "Standings": who holds which licence after a round, each bidder's holdings
// and eligibility, and what changed since the round before, with charts of
// them over the rounds. On the newest round it follows each round imported,
// here or by another program, keeping the views' sort and selection. While it
// is the active child window the frame's table commands are switched off.
class frmStandings : public QWidget {
    Q_OBJECT
public:
    explicit frmStandings(Prompter& prompter, QWidget* parent = nullptr);
    ~frmStandings() override;

    QLabel* lblRound;
    QComboBox* ddlRound;
    QLabel* lblWarning;
    QLabel* lblNotes;
    QLabel* lblTotals; // under the tabs: the totals of the view shown
    QPushButton* cmdClose;
    QTabWidget* tabs;
    QTableView* grdLicences;
    QTableView* grdBidders;
    QTableView* grdChanges;
    StandingsChartsPage* charts;

    // Load: the round list, the newest round's standings. Run once shown.
    void Form_Load();
    void PopulateRounds();
    // The standings of the round chosen in the list.
    void ShowRound();
    // The auction's rounds changed (an import here or by another program):
    // the list is refilled, and a window on the newest round moves to the new
    // newest one.
    void roundsChanged();
    // The round on show; 0 for none.
    int shownRound() const { return shown_; }

signals:
    // The frame's table commands on (false while this window is active).
    void tableCommandsWanted(bool enabled);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QTableView* makeView(const QString& name, StandingsTableModel*& model, QSortFilterProxyModel*& proxy);
    void openChart(const QModelIndex& index);

    Prompter& prompter_;
    StandingsTableModel* licences_ = nullptr;
    StandingsTableModel* bidders_ = nullptr;
    StandingsTableModel* changes_ = nullptr;
    QSortFilterProxyModel* licencesShown_ = nullptr;
    QSortFilterProxyModel* biddersShown_ = nullptr;
    QSortFilterProxyModel* changesShown_ = nullptr;
    int shown_ = 0;
    bool activationHooked_ = false;
};

} // namespace qv::standings
