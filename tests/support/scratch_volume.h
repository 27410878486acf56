#pragma once

#include "support/temp_dir.h"

#include <QFile>
#include <QProcess>
#include <QString>

#include <algorithm>

namespace qv::test {

// A small file system of its own (tmpfs), to meet a full disk or a
// read-only folder for real. Mounting needs the right to mount: where that
// is missing, isMounted() is false and the test skips.
class ScratchVolume {
public:
    ScratchVolume(int kilobytes, bool readOnly)
    {
        const QString options =
            QStringLiteral("size=%1k%2").arg(kilobytes).arg(readOnly ? QStringLiteral(",ro") : QString());
        mounted_ = QProcess::execute(QStringLiteral("mount"),
                                     {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                      options, QStringLiteral("tmpfs"), dir_.path()}) == 0;
    }
    ~ScratchVolume()
    {
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {dir_.path()});
    }
    ScratchVolume(const ScratchVolume&) = delete;
    ScratchVolume& operator=(const ScratchVolume&) = delete;

    bool isMounted() const { return mounted_; }
    QString path() const { return dir_.path(); }

    // Fills the volume with a file "filler" until only room bytes (whole
    // pages) are left.
    void fillLeaving(qint64 room) const
    {
        QFile filler(dir_.file(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray page(4096, 'f');
        while (filler.write(page) == page.size()) {
        }
        filler.resize(std::max<qint64>(0, (filler.size() / 4096) * 4096 - room));
    }

private:
    TempDir dir_;
    bool mounted_ = false;
};

} // namespace qv::test
