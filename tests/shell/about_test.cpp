// The About box and its system information button over the key store.
#include "shell/frm_about.h"
#include "shell/key_store.h"
#include "support/scripted_prompter.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace qv::shell;

namespace {

void writeStore(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        store_ = folder_.filePath(QStringLiteral("keystore.ini"));
        QFile::remove(store_);
        setKeyStorePath(store_);
        // No system information program of the desktop to fall back on.
        qputenv("PATH", folder_.path().toLocal8Bit());
    }

    void loadShowsTitleAndVersion()
    {
        qv::test::ScriptedPrompter prompter;
        frmAbout about(prompter);
        QCOMPARE(about.windowTitle(), QStringLiteral("About the Quorvane"));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Quorvane"));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version 3.3.1"));
        QVERIFY(about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->isDefault());
    }

    void getKeyValueReadsTextAndNumbers()
    {
        writeStore(store_, "; stands in for the registry\n"
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                           "PATH = /opt/info/msinfo\n"
                           "Count=dword:0000001f\n"
                           "[HKEY_CURRENT_USER\\SOFTWARE\\Other]\n"
                           "PATH=/elsewhere\n");
        QString value = QStringLiteral("stale");
        QVERIFY(GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                            QStringLiteral("PATH"), value));
        QCOMPARE(value, QStringLiteral("/opt/info/msinfo"));
        QVERIFY(GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                            QStringLiteral("Count"), value));
        QCOMPARE(value, QStringLiteral("&h1F"));
        // A missing value, a value under another key, a missing key, a missing store.
        QVERIFY(!GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                             QStringLiteral("Nope"), value));
        QCOMPARE(value, QString());
        QVERIFY(!GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Other"), QStringLiteral("PATH"),
                             value));
        QVERIFY(!GetKeyValue(HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\Missing"), QStringLiteral("PATH"),
                             value));
        QFile::remove(store_);
        QVERIFY(!GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                             QStringLiteral("PATH"), value));
    }

    void systemInfoStartsThePathValueFirst()
    {
        writeStore(store_, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                           "PATH=/opt/info/msinfo\n"
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n"
                           "MSINFO=/somewhere/else\n");
        QStringList started;
        qv::test::ScriptedPrompter prompter;
        frmAbout about(prompter);
        about.setStarter([&started](const QString& program) {
            started << program;
            return true;
        });
        about.StartSysInfo();
        QCOMPARE(started, QStringList{QStringLiteral("/opt/info/msinfo")});
        QVERIFY(prompter.messages.empty());
    }

    void systemInfoFromTheFolderKey()
    {
        QFile program(folder_.filePath(QStringLiteral("MSINFO32.EXE")));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.close();
        writeStore(store_, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\nMSINFO=" +
                               folder_.path().toUtf8() + "\n");
        QStringList started;
        qv::test::ScriptedPrompter prompter;
        frmAbout about(prompter);
        about.setStarter([&started](const QString& p) {
            started << p;
            return true;
        });
        about.StartSysInfo();
        QCOMPARE(started, QStringList{folder_.filePath(QStringLiteral("MSINFO32.EXE"))});
        QFile::remove(folder_.filePath(QStringLiteral("MSINFO32.EXE")));
    }

    void systemInfoUnavailable()
    {
        // The folder key names a folder without the program; then no keys at all;
        // then a program that does not start.
        writeStore(store_,
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\nMSINFO=/no/such\n");
        qv::test::ScriptedPrompter prompter;
        frmAbout about(prompter);
        about.setStarter([](const QString&) { return false; });
        about.StartSysInfo();
        QFile::remove(store_);
        about.StartSysInfo();
        writeStore(store_, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\nPATH=/bin/x\n");
        about.StartSysInfo();
        QCOMPARE(prompter.messages.size(), size_t(3));
        for (const auto& message : prompter.messages) {
            QCOMPARE(message.text, QStringLiteral("System Information Is Unavailable At This Time"));
            QCOMPARE(message.buttons, qv::Buttons::OK);
        }
    }

private:
    QTemporaryDir folder_;
    QString store_;
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
