#pragma once

#include "analysis/core/analysis_dialogs.h"

#include <deque>
#include <vector>

namespace qv::test {

// Analysis dialogs answered from a script: each showing of the round dialog
// takes the next entry (none left: Cancel); the criteria list selects the
// names scripted for it. Every call is recorded.
class ScriptedAnalysisDialogs : public analysis::AnalysisDialogs {
public:
    struct RoundsEntry {
        QString from;
        QString to;
        bool gross = true;
        bool cancel = false;
    };

    std::deque<RoundsEntry> roundEntries;
    QStringList choose; // names picked in the criteria list
    bool cancelCriteria = false;

    int roundsShown = 0;
    int roundsUnloaded = 0;
    QStringList offered; // the criteria list's items
    QString prompt;
    double progressMaximum = -1;
    double progressValue = 0;
    QString progressCaption;
    bool progressOpen = false;
    int progressClosed = 0;

    void showRounds() override
    {
        ++roundsShown;
        if (roundEntries.empty()) {
            current_.cancel = true;
            return;
        }
        current_ = roundEntries.front();
        roundEntries.pop_front();
    }
    bool roundsCancelled() const override { return current_.cancel; }
    QString fromText() const override { return current_.from; }
    QString toText() const override { return current_.to; }
    bool grossSelected() const override { return current_.gross; }
    void unloadRounds() override { ++roundsUnloaded; }

    void fillCriteria(const QStringList& items, const QString& text) override
    {
        offered = items;
        prompt = text;
    }
    void showCriteria() override {}
    bool criteriaCancelled() const override { return cancelCriteria; }
    QStringList selectedCriteria() const override
    {
        QStringList chosen;
        for (const QString& item : offered) {
            if (choose.contains(item))
                chosen << item;
        }
        return chosen;
    }

    void openProgress(double maximum, const QString& caption) override
    {
        progressMaximum = maximum;
        progressCaption = caption;
        progressOpen = true;
        progressValue = 0;
    }
    void setProgress(double value) override { progressValue = value; }
    void closeProgress() override
    {
        progressOpen = false;
        ++progressClosed;
    }

private:
    RoundsEntry current_;
};

} // namespace qv::test
