#pragma once

#include <QString>

#include <functional>

namespace qv::cli {

// What a look at a file tells about it: its size (-1 when it is missing) and
// its last change.
struct FileSignature {
    qint64 size = -1;
    qint64 modifiedMs = 0;
    bool operator==(const FileSignature&) const = default;
};

FileSignature signatureOf(const QString& path);

// True when the file opens as a whole zip archive (a file still being written
// has no central directory yet).
bool isCompleteArchive(const QString& path);

// Decides when a round file that is arriving may be imported: only when it has
// stayed the same for the settle time and opens as a whole archive. A file
// that stays the same but never opens is imported after the grace time anyway,
// so that its error is reported. A file whose import failed, or that was
// imported, is left alone until it changes.
class RoundFileReadiness {
public:
    enum class Verdict { Absent, Wait, Import, Skip };

    RoundFileReadiness(qint64 settleMs, qint64 graceMs) : settleMs_(settleMs), graceMs_(graceMs) {}

    Verdict observe(const QString& path, FileSignature signature, qint64 nowMs,
                    const std::function<bool()>& readable);
    // The outcome of the import that the last Import verdict started.
    void imported() { done_ = observed_; }
    void failed() { done_ = observed_; }
    // The last failure may pass: the same file may be imported again unchanged.
    void retry() { done_ = {}; }

private:
    qint64 settleMs_;
    qint64 graceMs_;
    QString path_;
    FileSignature observed_;
    qint64 since_ = 0;
    FileSignature done_; // imported or failed in this state; size -1 when none
};

} // namespace qv::cli
