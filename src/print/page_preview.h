#pragma once

#include "print/core/page_painter.h"

#include <QScrollArea>

namespace qv::print {

// The printed pages of a grid, one at a time, at a zoom; Page Up and Page Down
// turn the pages too.
class PagePreview : public QScrollArea {
    Q_OBJECT
public:
    explicit PagePreview(QWidget* parent = nullptr);

    void setJob(PrintJob job);
    bool isBound() const { return job_.source != nullptr; }
    int pageCount() const { return job_.source ? job_.layout.pageCount() : 0; }
    int currentPage() const { return page_; } // from 1
    void setCurrentPage(int page);
    int zoom() const { return zoom_; }
    void setZoom(int percent);
    // The page as shown, in pixels.
    QSize pageSize() const;
    const PrintJob& job() const { return job_; }

signals:
    void pageChanged(int page);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Canvas;
    void resizeCanvas();

    PrintJob job_;
    Canvas* canvas_;
    int page_ = 1;
    int zoom_ = 100;
};

} // namespace qv::print
