#pragma once

#include "analysis/core/analysis_dialogs.h"
#include "analysis/frm_pivot_list.h"
#include "analysis/frm_rounds.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

namespace qv::analysis {

// The analysis dialogs on screen: one round dialog, one criteria list and one
// progress window for the whole program, made on first use.
class QtAnalysisDialogs : public AnalysisDialogs {
public:
    static QtAnalysisDialogs& shared();

    void showRounds() override;
    bool roundsCancelled() const override;
    QString fromText() const override;
    QString toText() const override;
    bool grossSelected() const override;
    void unloadRounds() override;

    void fillCriteria(const QStringList& items, const QString& prompt) override;
    void showCriteria() override;
    bool criteriaCancelled() const override;
    QStringList selectedCriteria() const override;

    void openProgress(double maximum, const QString& caption) override;
    void setProgress(double value) override;
    void closeProgress() override;

    // The instances as they stand (null when not loaded), for tests.
    frmRounds* roundsDialog() const { return rounds_; }
    frmPivotList* criteriaDialog() const { return criteria_; }
    QProgressDialog* progressWindow() const { return progress_; }

private:
    frmRounds& rounds();
    frmPivotList& criteria();

    QPointer<frmRounds> rounds_;
    QPointer<frmPivotList> criteria_;
    QPointer<QProgressDialog> progress_;
    QElapsedTimer sinceRepaint_;
};

// The dialogs the grid windows' analyses use: the shared ones unless a test
// put others in their place.
AnalysisDialogs& analysisDialogs();
void useAnalysisDialogs(AnalysisDialogs* dialogs); // null: the shared ones again

} // namespace qv::analysis
