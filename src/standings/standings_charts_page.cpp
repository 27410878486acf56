#include "standings/standings_charts_page.h"

#include "common/error.h"
#include "common/prompter.h"
#include "grid/core/current_database.h"
#include "standings/chart/standings_chart.h"
#include "standings/core/standings_charts.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace qv::standings {

StandingsChartsPage::StandingsChartsPage(Prompter& prompter, QWidget* parent)
    : QWidget(parent), prompter_(prompter)
{
    cboKind = new QComboBox(this);
    cboKind->setObjectName(QStringLiteral("cboKind"));
    cboKind->addItems({QStringLiteral("Price paths"), QStringLiteral("Bidders"), QStringLiteral("Net bids")});
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setPlaceholderText(QStringLiteral("Find"));
    txtFind->setClearButtonEnabled(true);
    lstChoices = new QListWidget(this);
    lstChoices->setObjectName(QStringLiteral("lstChoices"));
    upper = new QChartView(this);
    upper->setObjectName(QStringLiteral("chtUpper"));
    upper->setRenderHint(QPainter::Antialiasing);
    lower = new QChartView(this);
    lower->setObjectName(QStringLiteral("chtLower"));
    lower->setRenderHint(QPainter::Antialiasing);
    lower->hide();

    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("Chart:"), this));
    side->addWidget(cboKind);
    side->addWidget(txtFind);
    side->addWidget(lstChoices, 1);
    auto* charts = new QVBoxLayout;
    charts->addWidget(upper, 1);
    charts->addWidget(lower, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(side);
    layout->addLayout(charts, 1);
    lstChoices->setMaximumWidth(260);

    connect(cboKind, &QComboBox::currentIndexChanged, this, [this] {
        fillChoices();
        redraw();
    });
    connect(txtFind, &QLineEdit::textChanged, this, [this](const QString& text) {
        for (int row = 0; row < lstChoices->count(); ++row)
            lstChoices->item(row)->setHidden(
                !lstChoices->item(row)->text().contains(text, Qt::CaseInsensitive));
    });
    connect(lstChoices, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (filling_)
            return;
        QStringList& ticked = cboKind->currentIndex() == Bidders ? tickedBidders_ : tickedLicences_;
        if (item->checkState() == Qt::Checked && !ticked.contains(item->text()))
            ticked << item->text();
        else if (item->checkState() != Qt::Checked)
            ticked.removeAll(item->text());
        redraw();
    });
}

void StandingsChartsPage::setChoices(const QStringList& licences, const QStringList& bidders, int lastRound)
{
    licences_ = licences;
    bidders_ = bidders;
    lastRound_ = lastRound;
    const auto offered = [](QStringList& ticked, const QStringList& names) {
        ticked.erase(std::remove_if(ticked.begin(), ticked.end(),
                                    [&names](const QString& name) { return !names.contains(name); }),
                     ticked.end());
    };
    offered(tickedLicences_, licences_);
    offered(tickedBidders_, bidders_);
    fillChoices();
    stale_ = true;
    if (isVisible())
        redraw();
}

void StandingsChartsPage::fillChoices()
{
    filling_ = true;
    lstChoices->clear();
    const int kind = cboKind->currentIndex();
    const QStringList& names = kind == Bidders ? bidders_ : kind == PricePaths ? licences_ : QStringList();
    const QStringList& ticked = kind == Bidders ? tickedBidders_ : tickedLicences_;
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, lstChoices);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(ticked.contains(name) ? Qt::Checked : Qt::Unchecked);
        item->setHidden(!txtFind->text().isEmpty() && !name.contains(txtFind->text(), Qt::CaseInsensitive));
    }
    lstChoices->setEnabled(kind != NetBids);
    txtFind->setEnabled(kind != NetBids);
    filling_ = false;
}

QStringList StandingsChartsPage::ticked() const
{
    return cboKind->currentIndex() == Bidders ? tickedBidders_ : tickedLicences_;
}

void StandingsChartsPage::showOne(const QString& name, bool bidder)
{
    (bidder ? tickedBidders_ : tickedLicences_) = QStringList{name};
    const int kind = bidder ? Bidders : PricePaths;
    if (cboKind->currentIndex() != kind) {
        cboKind->setCurrentIndex(kind); // refills and redraws
    } else {
        fillChoices();
        redraw();
    }
    if (auto* item = lstChoices->findItems(name, Qt::MatchExactly).value(0))
        lstChoices->scrollToItem(item);
}

void StandingsChartsPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (stale_)
        redraw();
}

void StandingsChartsPage::setChart(QChartView* view, const StandingsChart* drawn)
{
    QChart* old = view->chart();
    view->setChart(drawn != nullptr ? makeStandingsChart(*drawn) : new QChart);
    delete old;
}

void StandingsChartsPage::redraw()
{
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    stale_ = false;
    try {
        BusyScope busy(prompter_);
        store::Database& database = grid::currentDatabase();
        const int kind = cboKind->currentIndex();
        lower->setVisible(kind == Bidders);
        if (kind == Bidders) {
            const BidderCharts charts = bidderCharts(database, tickedBidders_, lastRound_);
            setChart(upper, &charts.held);
            setChart(lower, &charts.eligibility);
        } else {
            const StandingsChart chart = kind == NetBids
                                             ? netBidsChart(database, lastRound_)
                                             : pricePathChart(database, tickedLicences_, lastRound_);
            setChart(upper, &chart);
        }
    } catch (const Error& error) {
        prompter_.setBusy(false);
        prompter_.error(error, ErrorLayout::Report);
    }
}

} // namespace qv::standings
