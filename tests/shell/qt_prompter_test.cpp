// The desktop prompter: filters, line breaks and message boxes as shown.
#include "shell/qt_prompter.h"

#include "common/error.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace qv::shell;

class QtPrompterTest : public QObject {
    Q_OBJECT
private slots:
    void filtersBecomeQtFilters()
    {
        QCOMPARE(qtFileFilter(QStringLiteral("Zip (*.zip)|*.zip")), QStringLiteral("Zip (*.zip)"));
        QCOMPARE(qtFileFilter(QStringLiteral("Access (*.mdb)|*.mdb|All Files (*.*)|*.*")),
                 QStringLiteral("Access (*.mdb);;All Files (*.*)"));
        QCOMPARE(qtFileFilter(QStringLiteral("Text|*.txt;*.tab")), QStringLiteral("Text (*.txt *.tab)"));
        QCOMPARE(qtFileFilter(QString()), QString());
    }

    void carriageReturnsBreakLines()
    {
        QCOMPARE(displayText(QStringLiteral("  one\rtwo\r\nthree")), QStringLiteral("  one\ntwo\nthree"));
    }

    void messageBoxShowsTitleIconAndButtons()
    {
        QtPrompter prompter;
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->button(QMessageBox::No)->click();
        });
        const qv::Answer answer =
            prompter.message(QStringLiteral("Keep it?\rReally"), QStringLiteral("Question"),
                             qv::Icon::Exclamation, qv::Buttons::YesNo, qv::Answer::Yes);
        QCOMPARE(answer, qv::Answer::No);
        QCOMPARE(title, QStringLiteral("Question"));
        QCOMPARE(text, QStringLiteral("Keep it?\nReally"));
        QCOMPARE(icon, QMessageBox::Warning);

        // A box given no title carries the program's name.
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            title = box->windowTitle();
            box->accept();
        });
        prompter.message(QStringLiteral("Done"), QString());
        QCOMPARE(title, QStringLiteral("Quorvane"));
    }

    void busyNestsTheHourglass()
    {
        QtPrompter prompter;
        prompter.setBusy(true);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        prompter.setBusy(false);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        prompter.setBusy(false); // unbalanced: harmless
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

QTEST_MAIN(QtPrompterTest)
#include "qt_prompter_test.moc"
