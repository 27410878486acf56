#pragma once

#include <QRect>

class QWidget;

namespace qv::shell {

// The main window's placement as the settings store keeps it: left, top,
// width and height in twips (1440 to the inch).
struct Placement {
    double left = 1000;
    double top = 1000;
    double width = 6500;
    double height = 6500;
};

// Reads MainLeft, MainTop, MainWidth and MainHeight of section "Settings";
// an absent value takes its default.
Placement readPlacement();
// True once any of the four values has been stored (after the first exit).
bool placementStored();
void writePlacement(const Placement& placement);

// Twips and pixels at the screen's logical resolution.
int twipsToPixels(double twips, double dpi);
double pixelsToTwips(int pixels, double dpi);

// Restores a window's placement, bringing it back onto a screen when it lies
// off every one of them.
void applyPlacement(QWidget& window, const Placement& placement);
Placement currentPlacement(const QWidget& window);
// The first start, with nothing stored: four fifths of the available screen
// each way, centred, so the frame is larger than the dialogs over it.
void applyFirstStartPlacement(QWidget& window);

// The rectangle moved (and if need be shrunk) into the screen area when it
// does not overlap it.
QRect onScreen(const QRect& wanted, const QRect& screenArea);

// Places a window of its own that is not on show: centred over `over`, all
// of it inside the available screen, shrunk if need be. A window on show
// stays where the user put it.
void placeOnScreen(QWidget& window, const QWidget& over);

} // namespace qv::shell
