#include "shell/frm_splash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace qv::shell {

QString versionText()
{
    return QStringLiteral("Version ") + QLatin1String(QUORVANE_VERSION);
}

frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    auto* fraMainFrame = new QFrame(this);
    fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
    fraMainFrame->setFrameShape(QFrame::Box);
    fraMainFrame->setLineWidth(2);

    auto label = [fraMainFrame](const char* name, const QString& text, int pointSize, bool bold) {
        auto* l = new QLabel(text, fraMainFrame);
        l->setObjectName(QLatin1String(name));
        QFont font = l->font();
        font.setPointSize(pointSize);
        font.setBold(bold);
        l->setFont(font);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    auto* picLogo = label("picLogo", QStringLiteral("\u25A6"), 40, false);
    picLogo->setStyleSheet(QStringLiteral("color: #1e64be;"));
    auto* lblCompanyProduct =
        label("lblCompanyProduct", QStringLiteral("Spectrum Licence Auction Results"), 10, false);
    auto* lblProductName = label("lblProductName", QStringLiteral("Quorvane"), 26, true);
    auto* lblVersion = label("lblVersion", versionText(), 10, false);

    auto* inner = new QVBoxLayout(fraMainFrame);
    inner->setContentsMargins(32, 20, 32, 20);
    inner->addWidget(picLogo);
    inner->addWidget(lblCompanyProduct);
    inner->addWidget(lblProductName);
    inner->addWidget(lblVersion);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fraMainFrame);
    setAutoFillBackground(true);
}

void frmSplash::holdBriefly()
{
    // Repaint until the counter runs out or time is up, whichever comes first.
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i <= 20000 && timer.elapsed() < 800; ++i) {
        repaint();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

} // namespace qv::shell
