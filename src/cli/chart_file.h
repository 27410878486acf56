#pragma once

#include <QString>

namespace qv::cli {

// Whether a chart may be written to the name: a file ending in .png or .svg,
// or a pipe, device or descriptor (/dev/stdout), which takes PNG. A picture
// of another kind (.gif, .jpg) is not written as PNG under its name.
bool isChartFileName(const QString& file);

// The usage problem of a name isChartFileName refuses.
QString chartFileProblem(const QString& option, const QString& file);

} // namespace qv::cli
