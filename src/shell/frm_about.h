#pragma once

#include <QDialog>

#include <functional>

namespace qv {
class Prompter;
}

namespace qv::shell {

// The About box: title, version, a description and the disclaimer, and a
// button that starts a system information program.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    // startProgram starts a program and says whether it did; tests replace it.
    using Starter = std::function<bool(const QString& program)>;

    frmAbout(Prompter& prompter, QWidget* parent = nullptr);

    void setStarter(Starter starter) { starter_ = std::move(starter); }
    // Finds the system information program and starts it, or says it cannot.
    Q_INVOKABLE void StartSysInfo();

private:
    Prompter& prompter_;
    Starter starter_;
};

// The system information program: the key store's entries first, then a
// known program on the PATH; empty when there is none.
QString systemInfoProgram();

} // namespace qv::shell
