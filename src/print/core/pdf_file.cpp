#include "print/core/pdf_file.h"

#include "common/error.h"
#include "common/safe_file.h"

#include <QPdfWriter>

namespace qv::print {

bool writePdfFile(const QString& path, const PrintJob& job, const QString& title,
                  const std::function<bool(int page, int count)>& progress)
{
    SafeFile file(path);
    bool stopped = false;
    bool painted = false;
    {
        QPdfWriter pdf(&file.device());
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Quorvane"));
        pdf.setResolution(600);
        pdf.setPageLayout(QPageLayout(job.setup.paper,
                                      job.setup.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
        painted = paintDocument(pdf, job, [&](int page, int count) {
            stopped = progress && !progress(page, count);
            return !stopped;
        });
    } // the writer has handed over the document's last bytes
    if (stopped)
        return false;
    if (!painted) {
        file.raiseDeviceFailure();
        throw Error(
            err::PathFileAccess,
            QStringLiteral("Path/File access error: the pages could not be written to '%1'.").arg(path));
    }
    file.commit();
    return true;
}

} // namespace qv::print
