#pragma once

#include "print/core/page_painter.h"

#include <QString>

#include <functional>

namespace qv::print {

// Writes a job's pages as a PDF file through SafeFile: the file replaces an
// earlier one of that name only once every page is in it. False when
// progress(page, count) stopped the job; qv::Error when the file cannot be
// written (61 on a full disk, 76 when its folder does not exist).
bool writePdfFile(const QString& path, const PrintJob& job, const QString& title,
                  const std::function<bool(int page, int count)>& progress = {});

} // namespace qv::print
