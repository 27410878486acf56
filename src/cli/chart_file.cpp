#include "cli/chart_file.h"

#include "common/safe_file.h"

namespace qv::cli {

bool isChartFileName(const QString& file)
{
    return file.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ||
           file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) || writesInPlace(file);
}

QString chartFileProblem(const QString& option, const QString& file)
{
    return option +
           QStringLiteral(" takes a picture ending in .png or .svg (or a pipe, a device or "
                          "/dev/stdout, written as PNG), not ") +
           file;
}

} // namespace qv::cli
