#include "shell/outside_import_notice.h"

#include "store/change_marks.h"
#include "store/session.h"

namespace qv::shell {

OutsideImportNotice::OutsideImportNotice(std::function<void(const QString&)> announce, int intervalMs,
                                         QObject* parent)
    : QObject(parent), announce_(std::move(announce))
{
    setObjectName(QStringLiteral("outsideImportNotice"));
    connect(&timer_, &QTimer::timeout, this, &OutsideImportNotice::check);
    timer_.start(intervalMs);
}

void OutsideImportNotice::check()
{
    const auto& db = session().CurrentDatabase;
    const store::ChangeMarks marks = db ? store::readChangeMarks(*db) : store::ChangeMarks{};
    if (marks.connection == nullptr) {
        connection_ = nullptr;
        return;
    }
    const bool sameConnection = marks.connection == connection_;
    const bool byOthers = sameConnection && marks.dataVersion != dataVersion_;
    if (byOthers && marks.highestRound > highest_)
        announce_(QStringLiteral("Round ") + QString::number(marks.highestRound) +
                  QStringLiteral(" was imported by another program."));
    // Rounds this program imports itself move the mark without a word.
    const bool changed = sameConnection && (byOthers || marks.highestRound != highest_);
    connection_ = marks.connection;
    dataVersion_ = marks.dataVersion;
    highest_ = marks.highestRound;
    if (changed)
        emit roundsChanged();
}

} // namespace qv::shell
