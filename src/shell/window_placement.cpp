#include "shell/window_placement.h"

#include "common/window_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <cmath>

namespace qv::shell {

namespace {

constexpr double TwipsPerInch = 1440.0;

QString key(const char* name)
{
    return QStringLiteral("Settings/") + QLatin1String(name);
}

double readValue(QSettings& settings, const char* name, double fallback)
{
    bool ok = false;
    // Stored as text and read back as a single-precision number.
    const float value = settings.value(key(name)).toString().toFloat(&ok);
    return ok ? static_cast<double>(value) : fallback;
}

double logicalDpi(const QWidget& window)
{
    const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
}

// What the window manager put around a window, once it has framed it.
QMargins frameMargins(const QWidget& window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    return frame.isNull() ? TypicalFrame : frame;
}

} // namespace

Placement readPlacement()
{
    QSettings settings(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
    Placement placement;
    placement.left = readValue(settings, "MainLeft", 1000);
    placement.top = readValue(settings, "MainTop", 1000);
    placement.width = readValue(settings, "MainWidth", 6500);
    placement.height = readValue(settings, "MainHeight", 6500);
    return placement;
}

bool placementStored()
{
    QSettings settings(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
    for (const char* name : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
        if (settings.contains(key(name)))
            return true;
    return false;
}

void applyFirstStartPlacement(QWidget& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        applyPlacement(window, Placement{});
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize size(area.width() * 4 / 5, area.height() * 4 / 5);
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(area.center());
    window.move(placed.topLeft());
    window.resize(placed.size());
}

void writePlacement(const Placement& placement)
{
    QSettings settings(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
    settings.setValue(key("MainLeft"), QString::number(placement.left));
    settings.setValue(key("MainTop"), QString::number(placement.top));
    settings.setValue(key("MainWidth"), QString::number(placement.width));
    settings.setValue(key("MainHeight"), QString::number(placement.height));
}

int twipsToPixels(double twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / TwipsPerInch));
}

double pixelsToTwips(int pixels, double dpi)
{
    return std::round(pixels * TwipsPerInch / dpi);
}

QRect onScreen(const QRect& wanted, const QRect& screenArea)
{
    if (screenArea.isEmpty() || wanted.intersects(screenArea))
        return wanted;
    QRect placed(screenArea.topLeft(), wanted.size().boundedTo(screenArea.size()));
    return placed;
}

void applyPlacement(QWidget& window, const Placement& placement)
{
    const double dpi = logicalDpi(window);
    QRect wanted(twipsToPixels(placement.left, dpi), twipsToPixels(placement.top, dpi),
                 std::max(1, twipsToPixels(placement.width, dpi)),
                 std::max(1, twipsToPixels(placement.height, dpi)));
    bool visible = false;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens)
        visible = visible || wanted.intersects(screen->availableGeometry());
    if (!visible && QGuiApplication::primaryScreen() != nullptr)
        wanted = onScreen(wanted, QGuiApplication::primaryScreen()->availableGeometry());
    window.move(wanted.topLeft());
    window.resize(wanted.size());
}

void placeOnScreen(QWidget& window, const QWidget& over)
{
    const QScreen* screen = over.screen() != nullptr ? over.screen() : QGuiApplication::primaryScreen();
    if (window.isVisible() || screen == nullptr)
        return;
    const QSize size = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
    // The frame the window manager put around `over` it puts around this one too.
    const QMargins frame = frameMargins(over);
    const QRect placed =
        fitInside(centredOver(size, over.frameGeometry()), screen->availableGeometry(), frame);
    // move() places the frame, which every window manager honours; not all
    // of them place a window's inside where it is asked to be.
    window.resize(placed.size());
    window.move(placed.topLeft() - QPoint(frame.left(), frame.top()));
}

Placement currentPlacement(const QWidget& window)
{
    const double dpi = logicalDpi(window);
    return {pixelsToTwips(window.x(), dpi), pixelsToTwips(window.y(), dpi),
            pixelsToTwips(window.width(), dpi), pixelsToTwips(window.height(), dpi)};
}

} // namespace qv::shell
