#include "shell/frm_about.h"

#include "common/prompter.h"
#include "shell/frm_splash.h"
#include "shell/key_store.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace qv::shell {

namespace {

const char* const description =
    "Quorvane follows a multi-round spectrum-licence auction round by round. It keeps one database per "
    "auction, built from the round results files (NN_RRR.zip) that the auctioning agency publishes on its "
    "auction web pages after every bidding round.";

const char* const disclaimer =
    "This program is provided \"as is\", without warranty of any kind, express or implied, including but not "
    "limited to the warranties of merchantability and fitness for a particular purpose. In no event shall "
    "the "
    "publisher be liable for any claim, damages or other liability arising from the use of this program or "
    "of "
    "the figures it shows. Check every figure against the agency's own results before relying on it.";

QFrame* line(QWidget* parent, const char* name)
{
    auto* l = new QFrame(parent);
    l->setObjectName(QLatin1String(name));
    l->setFrameShape(QFrame::HLine);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

} // namespace

QString systemInfoProgram()
{
    QString path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), path))
        return path;
    QString folder;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                    QStringLiteral("MSINFO"), folder)) {
        const QString candidate = QDir(folder).filePath(QStringLiteral("MSINFO32.EXE"));
        if (QFileInfo::exists(candidate))
            return candidate;
        return {};
    }
    // No key names one: a system information program of the desktop, if any.
    for (const char* name : {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

frmAbout::frmAbout(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter),
      starter_([](const QString& program) { return QProcess::startDetached(program, {}); })
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About the Quorvane"));

    auto* picIcon = new QLabel(QStringLiteral("\u25A6"), this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    QFont iconFont = picIcon->font();
    iconFont.setPointSize(36);
    picIcon->setFont(iconFont);
    picIcon->setStyleSheet(QStringLiteral("color: #1e64be;"));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* lblTitle = new QLabel(QStringLiteral("Application Title"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(titleFont.pointSize() + 6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    auto* lblVersion = new QLabel(QStringLiteral("Version"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto* lblDescription = new QLabel(QLatin1String(description), this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    auto* Text1 = new QPlainTextEdit(QLatin1String(disclaimer), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setMaximumHeight(116);

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addWidget(lblDescription);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line(this, "Line1"));
    layout->addWidget(Text1);
    layout->addWidget(line(this, "Line1_1"));
    layout->addLayout(buttons);
    resize(480, 330);

    // Load: the program's own name and version.
    lblVersion->setText(versionText());
    lblTitle->setText(QStringLiteral("Quorvane"));

    // OK is the default and the cancel button: Enter and Escape both press it.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

void frmAbout::StartSysInfo()
{
    const QString program = systemInfoProgram();
    if (!program.isEmpty() && starter_(program))
        return;
    prompter_.message(QStringLiteral("System Information Is Unavailable At This Time"), QString());
}

} // namespace qv::shell
