#pragma once

#include <QWidget>

class QChart;
class QChartView;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace qv {
class Prompter;
}

namespace qv::standings {

struct StandingsChart;

// The Charts tab of the Standings window: price paths of the licences ticked,
// licences held and eligibility of the bidders ticked, or the net bids, over
// the rounds up to the window's round.
class StandingsChartsPage : public QWidget {
    Q_OBJECT
public:
    enum Kind { PricePaths, Bidders, NetBids };

    explicit StandingsChartsPage(Prompter& prompter, QWidget* parent = nullptr);

    QComboBox* cboKind;
    QLineEdit* txtFind;
    QListWidget* lstChoices;
    QChartView* upper; // the chart; licences held for bidders
    QChartView* lower; // eligibility for bidders, hidden otherwise

    // What can be ticked, and the last round charted. Ticks on names still
    // offered are kept.
    void setChoices(const QStringList& licences, const QStringList& bidders, int lastRound);
    // Ticks one licence or bidder alone and draws it.
    void showOne(const QString& name, bool bidder);
    // Draws the ticked lines anew (only while the page is on show: it is drawn
    // when it comes into view).
    void redraw();
    QStringList ticked() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillChoices();
    void setChart(QChartView* view, const StandingsChart* drawn);

    Prompter& prompter_;
    QStringList licences_;
    QStringList bidders_;
    QStringList tickedLicences_;
    QStringList tickedBidders_;
    int lastRound_ = 0;
    bool filling_ = false;
    bool stale_ = true;
};

} // namespace qv::standings
