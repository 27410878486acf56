#include "shell/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qv::shell {

namespace {

constexpr int Size = 24;

const QColor ink(40, 40, 40);
const QColor paper(255, 255, 255);
const QColor accent(30, 100, 190);
const QColor warn(190, 40, 40);
const QColor green(40, 140, 60);

void sheet(QPainter& p)
{
    // A page with a folded corner.
    QPainterPath path;
    path.moveTo(5, 2);
    path.lineTo(15, 2);
    path.lineTo(20, 7);
    path.lineTo(20, 22);
    path.lineTo(5, 22);
    path.closeSubpath();
    p.setPen(QPen(ink, 1.2));
    p.setBrush(paper);
    p.drawPath(path);
    p.drawLine(QPointF(15, 2), QPointF(15, 7));
    p.drawLine(QPointF(15, 7), QPointF(20, 7));
}

void gridLines(QPainter& p, QRectF r, int cols, int rows)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(paper);
    p.drawRect(r);
    for (int c = 1; c < cols; ++c)
        p.drawLine(QPointF(r.left() + r.width() * c / cols, r.top()),
                   QPointF(r.left() + r.width() * c / cols, r.bottom()));
    for (int w = 1; w < rows; ++w)
        p.drawLine(QPointF(r.left(), r.top() + r.height() * w / rows),
                   QPointF(r.right(), r.top() + r.height() * w / rows));
}

void printer(QPainter& p)
{
    p.setPen(QPen(ink, 1.2));
    p.setBrush(paper);
    p.drawRect(QRectF(7, 3, 10, 7));
    p.setBrush(QColor(200, 200, 200));
    p.drawRoundedRect(QRectF(3, 9, 18, 8), 2, 2);
    p.setBrush(paper);
    p.drawRect(QRectF(7, 14, 10, 7));
    p.drawLine(QPointF(9, 17), QPointF(15, 17));
}

void arrowDown(QPainter& p, QColor colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPolygonF arrow;
    arrow << QPointF(10, 2) << QPointF(14, 2) << QPointF(14, 8) << QPointF(18, 8) << QPointF(12, 14)
          << QPointF(6, 8) << QPointF(10, 8);
    p.drawPolygon(arrow);
}

void letters(QPainter& p, const QString& text, QRectF r, QColor colour, int pixelSize)
{
    QFont font = p.font();
    font.setPixelSize(pixelSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

void draw(QPainter& p, const QString& key)
{
    if (key == QLatin1String("New")) {
        gridLines(p, QRectF(2, 4, 17, 15), 3, 4);
        p.setPen(QPen(green, 2.5));
        p.drawLine(QPointF(19, 13), QPointF(19, 22));
        p.drawLine(QPointF(14.5, 17.5), QPointF(23.5, 17.5));
    } else if (key == QLatin1String("Import")) {
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(235, 200, 110));
        p.drawRect(QRectF(3, 13, 18, 9));
        arrowDown(p, accent);
    } else if (key == QLatin1String("PrintPreview")) {
        sheet(p);
        p.setPen(QPen(accent, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(11, 12), 4.5, 4.5);
        p.drawLine(QPointF(14.5, 15.5), QPointF(19, 20));
    } else if (key == QLatin1String("Print")) {
        printer(p);
    } else if (key == QLatin1String("Sort")) {
        letters(p, QStringLiteral("A"), QRectF(0, 0, 13, 12), ink, 11);
        letters(p, QStringLiteral("Z"), QRectF(0, 12, 13, 12), ink, 11);
        p.setPen(QPen(accent, 2));
        p.drawLine(QPointF(18, 3), QPointF(18, 20));
        p.drawLine(QPointF(14, 16), QPointF(18, 21));
        p.drawLine(QPointF(22, 16), QPointF(18, 21));
    } else if (key == QLatin1String("Filter")) {
        p.setPen(QPen(ink, 1.2));
        p.setBrush(accent);
        QPolygonF funnel;
        funnel << QPointF(3, 4) << QPointF(21, 4) << QPointF(14, 12) << QPointF(14, 20) << QPointF(10, 22)
               << QPointF(10, 12);
        p.drawPolygon(funnel);
    } else if (key == QLatin1String("Reset")) {
        p.setPen(QPen(green, 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(green);
        QPolygonF head;
        head << QPointF(15, 1) << QPointF(21, 6) << QPointF(14, 9);
        p.drawPolygon(head);
    } else if (key == QLatin1String("TableWizard")) {
        gridLines(p, QRectF(2, 6, 15, 15), 3, 3);
        p.setPen(QPen(QColor(200, 150, 20), 2));
        p.drawLine(QPointF(13, 11), QPointF(22, 2));
        p.setPen(QPen(QColor(230, 180, 30), 1.5));
        p.drawLine(QPointF(19, 8), QPointF(23, 8));
        p.drawLine(QPointF(16, 3), QPointF(16, 6));
    } else if (key == QLatin1String("SQL")) {
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(210, 225, 245));
        p.drawRoundedRect(QRectF(1, 5, 22, 14), 2, 2);
        letters(p, QStringLiteral("SQL"), QRectF(1, 5, 22, 14), accent, 9);
    } else if (key == QLatin1String("DropTable")) {
        gridLines(p, QRectF(2, 3, 16, 16), 3, 3);
        p.setPen(QPen(warn, 2.8));
        p.drawLine(QPointF(12, 12), QPointF(22, 22));
        p.drawLine(QPointF(22, 12), QPointF(12, 22));
    } else if (key == QLatin1String("ExcelExp")) {
        p.setPen(QPen(ink, 1.2));
        p.setBrush(green);
        p.drawRect(QRectF(3, 3, 18, 18));
        letters(p, QStringLiteral("X"), QRectF(3, 3, 18, 18), paper, 14);
    }
}

} // namespace

QIcon toolIcon(const QString& key)
{
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(Size * scale, Size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, key);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace qv::shell
