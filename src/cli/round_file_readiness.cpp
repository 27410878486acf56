#include "cli/round_file_readiness.h"

#include "common/zip_library.h"

#include <QFileInfo>

namespace qv::cli {

FileSignature signatureOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

bool isCompleteArchive(const QString& path)
{
    int error = 0;
    const ZipArchive archive(
        zipLibrary().zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    return archive != nullptr && zipLibrary().zip_get_num_entries(archive.get(), 0) > 0;
}

RoundFileReadiness::Verdict RoundFileReadiness::observe(const QString& path, FileSignature signature,
                                                        qint64 nowMs, const std::function<bool()>& readable)
{
    if (path != path_) {
        path_ = path;
        observed_ = {};
        done_ = {};
    }
    if (signature.size < 0) {
        observed_ = {};
        return Verdict::Absent;
    }
    if (done_.size >= 0 && signature == done_)
        return Verdict::Skip;
    if (signature != observed_) {
        observed_ = signature;
        since_ = nowMs;
        return Verdict::Wait;
    }
    const qint64 unchanged = nowMs - since_;
    if (unchanged < settleMs_)
        return Verdict::Wait;
    if (readable() || unchanged >= graceMs_)
        return Verdict::Import;
    return Verdict::Wait;
}

} // namespace qv::cli
