#pragma once

#include <QWidget>

namespace qv::shell {

// The start-up panel with the product's name and version.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    // Keeps the panel on screen for a moment; never more than about a second.
    void holdBriefly();
};

// "Version 3.3.1": the program's own version.
QString versionText();

} // namespace qv::shell
