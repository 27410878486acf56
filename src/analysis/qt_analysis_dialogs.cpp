#include "analysis/qt_analysis_dialogs.h"

#include "analysis/frm_pivot_list.h"
#include "analysis/frm_rounds.h"

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>

namespace qv::analysis {

namespace {

AnalysisDialogs* replacement = nullptr;

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

} // namespace

QtAnalysisDialogs& QtAnalysisDialogs::shared()
{
    static QtAnalysisDialogs dialogs;
    return dialogs;
}

AnalysisDialogs& analysisDialogs()
{
    return replacement != nullptr ? *replacement : QtAnalysisDialogs::shared();
}

void useAnalysisDialogs(AnalysisDialogs* dialogs)
{
    replacement = dialogs;
}

frmRounds& QtAnalysisDialogs::rounds()
{
    if (rounds_ == nullptr)
        rounds_ = new frmRounds(dialogParent());
    return *rounds_;
}

frmPivotList& QtAnalysisDialogs::criteria()
{
    if (criteria_ == nullptr)
        criteria_ = new frmPivotList(dialogParent());
    return *criteria_;
}

void QtAnalysisDialogs::showRounds()
{
    frmRounds& dialog = rounds();
    dialog.focusFirstRound();
    dialog.exec();
}

bool QtAnalysisDialogs::roundsCancelled() const
{
    return rounds_ != nullptr && rounds_->cancelled;
}

QString QtAnalysisDialogs::fromText() const
{
    return rounds_ != nullptr ? rounds_->fromText() : QString();
}

QString QtAnalysisDialogs::toText() const
{
    return rounds_ != nullptr ? rounds_->toText() : QString();
}

bool QtAnalysisDialogs::grossSelected() const
{
    // A dialog not loaded stands as first loaded: gross.
    return rounds_ == nullptr || rounds_->grossChosen();
}

void QtAnalysisDialogs::unloadRounds()
{
    delete rounds_;
}

void QtAnalysisDialogs::fillCriteria(const QStringList& items, const QString& prompt)
{
    frmPivotList& dialog = criteria();
    dialog.setChoices(items, prompt);
    dialog.cancelled = false;
}

void QtAnalysisDialogs::showCriteria()
{
    criteria().exec();
}

bool QtAnalysisDialogs::criteriaCancelled() const
{
    return criteria_ != nullptr && criteria_->cancelled;
}

QStringList QtAnalysisDialogs::selectedCriteria() const
{
    return criteria_ != nullptr ? criteria_->chosenItems() : QStringList();
}

void QtAnalysisDialogs::openProgress(double maximum, const QString& caption)
{
    delete progress_;
    progress_ = new QProgressDialog(dialogParent());
    progress_->setObjectName(QStringLiteral("frmProg"));
    progress_->setWindowTitle(caption);
    auto* label = new QLabel(progress_);
    label->setTextFormat(Qt::PlainText);
    progress_->setLabel(label);
    progress_->setLabelText(caption);
    progress_->setCancelButton(nullptr);
    progress_->setMinimumDuration(0);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setWindowModality(Qt::NonModal);
    progress_->setRange(0, static_cast<int>(maximum));
    progress_->setValue(0);
    progress_->show();
    sinceRepaint_.start();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtAnalysisDialogs::setProgress(double value)
{
    if (progress_ == nullptr)
        return;
    progress_->setValue(static_cast<int>(value));
    // The analysis keeps the thread; the windows repaint now and then, while
    // the user's input waits.
    if (sinceRepaint_.elapsed() >= 50) {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceRepaint_.restart();
    }
}

void QtAnalysisDialogs::closeProgress()
{
    delete progress_;
}

} // namespace qv::analysis
