#pragma once

#include <QString>
#include <QStringList>

namespace qv::analysis {

// The three small windows an analysis talks to: the round range and bid type,
// the criteria list, and the progress window. The desktop program shows
// dialogs; the command line and the tests answer from what they were given.
class AnalysisDialogs {
public:
    virtual ~AnalysisDialogs() = default;

    // Round range and bid type. showRounds returns when the dialog hides
    // itself; the fields keep what was typed until unloadRounds.
    virtual void showRounds() = 0;
    virtual bool roundsCancelled() const = 0;
    virtual QString fromText() const = 0; // the digits typed, "" when none
    virtual QString toText() const = 0;
    virtual bool grossSelected() const = 0;
    virtual void unloadRounds() = 0;

    // Criteria list: filled with items in the order given, a prompt and a
    // cleared cancelled flag; then shown.
    virtual void fillCriteria(const QStringList& items, const QString& prompt) = 0;
    virtual void showCriteria() = 0;
    virtual bool criteriaCancelled() const = 0;
    virtual QStringList selectedCriteria() const = 0; // in list order

    // Progress window, shown modeless while the rows are copied.
    virtual void openProgress(double maximum, const QString& caption) = 0;
    virtual void setProgress(double value) = 0;
    virtual void closeProgress() = 0;
};

} // namespace qv::analysis
