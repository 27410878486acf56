#include "print/page_preview.h"

#include <QKeyEvent>
#include <QPainter>

namespace qv::print {

class PagePreview::Canvas : public QWidget {
public:
    explicit Canvas(PagePreview& preview) : QWidget(nullptr), preview_(preview) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (!preview_.isBound())
            return;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const double scale = preview_.zoom() / 100.0;
        painter.scale(scale * logicalDpiX() / TwipsPerInch, scale * logicalDpiY() / TwipsPerInch);
        paintPage(painter, preview_.job(), preview_.currentPage() - 1);
    }

private:
    PagePreview& preview_;
};

PagePreview::PagePreview(QWidget* parent) : QScrollArea(parent), canvas_(new Canvas(*this))
{
    setObjectName(QStringLiteral("vaSpreadPreview1"));
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignCenter);
    setWidget(canvas_);
    setFocusPolicy(Qt::StrongFocus);
    resizeCanvas();
}

void PagePreview::setJob(PrintJob job)
{
    job_ = std::move(job);
    page_ = 1;
    resizeCanvas();
    canvas_->update();
}

QSize PagePreview::pageSize() const
{
    const QSizeF twips = job_.setup.paperTwips();
    const double scale = zoom_ / 100.0;
    return {int(twips.width() * canvas_->logicalDpiX() / TwipsPerInch * scale),
            int(twips.height() * canvas_->logicalDpiY() / TwipsPerInch * scale)};
}

void PagePreview::resizeCanvas()
{
    canvas_->setFixedSize(pageSize());
}

void PagePreview::setCurrentPage(int page)
{
    if (page < 1 || page > pageCount() || page == page_)
        return;
    page_ = page;
    canvas_->update();
    emit pageChanged(page_);
}

void PagePreview::setZoom(int percent)
{
    if (percent <= 0 || percent == zoom_)
        return;
    zoom_ = percent;
    resizeCanvas();
    canvas_->update();
}

void PagePreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageDown)
        setCurrentPage(page_ + 1);
    else if (event->key() == Qt::Key_PageUp)
        setCurrentPage(page_ - 1);
    else
        QScrollArea::keyPressEvent(event);
}

} // namespace qv::print
