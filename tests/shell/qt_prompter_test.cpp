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
        QVERIFY2(text.contains(QStringLiteral("Keep it?\nReally")), qPrintable(text));
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

    // A name that reads as markup, in a message short or too wide to keep
    // unwrapped, and in a prompt, is shown as its letters.
    void markupInAMessageIsShownAsText()
    {
        const QString name = QStringLiteral("<img src=\"picture.png\">Img");
        QtPrompter prompter;
        for (const QString& text : {QStringLiteral("Access to ") + name + QStringLiteral(" denied."),
                                    name + QString(400, QLatin1Char('x'))}) {
            bool asText = false;
            QTimer::singleShot(0, this, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr);
                asText = box->textFormat() == Qt::PlainText ? box->text().contains(name)
                                                            : box->text().contains(name.toHtmlEscaped());
                box->accept();
            });
            prompter.message(text, QString());
            QVERIFY2(asText, qPrintable(text.left(40)));
        }
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            for (QLabel* label : dialog->findChildren<QLabel*>())
                if (label->text() == name)
                    format = label->textFormat();
            dialog->close();
        });
        prompter.input(name, QStringLiteral("Name"));
        QCOMPARE(format, Qt::PlainText);
    }

    // Lines laid out with leading blanks to centre them are shown whole, each
    // on a line of its own, not wrapped at half the screen's width.
    void messageLinesAreNotWrapped()
    {
        const QString lines[] = {
            QStringLiteral("      In order to batch import a new auction, you must have the round results"),
            QStringLiteral(
                "files for all the rounds of the auction you intend to create, in the same directory."),
            QStringLiteral("       Do you have the all of the round results files in the same directory?")};
        QtPrompter prompter;
        int labelWidth = 0;
        int labelHeight = 0;
        int lineHeight = 0;
        int widest = 0;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label != nullptr);
            labelWidth = label->width();
            labelHeight = label->height();
            lineHeight = label->fontMetrics().lineSpacing();
            for (const QString& line : lines)
                widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
            box->button(QMessageBox::No)->click();
        });
        prompter.message(lines[0] + QLatin1Char('\r') + lines[1] + QLatin1Char('\r') + lines[2],
                         QStringLiteral("Batch Auction Import"), qv::Icon::None, qv::Buttons::YesNo);
        QVERIFY2(labelWidth >= widest, qPrintable(QStringLiteral("%1 < %2").arg(labelWidth).arg(widest)));
        QVERIFY(labelHeight < 4 * lineHeight); // three lines, not five
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
