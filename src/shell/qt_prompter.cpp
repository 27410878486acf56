#include "shell/qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

namespace qv::shell {

namespace {

QString boxTitle(const QString& title)
{
    // A box given no title carries the program's name, as message boxes do.
    return title.isEmpty() ? QStringLiteral("Quorvane") : title;
}

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OK:
        return QMessageBox::Ok;
    case Buttons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton toButton(Answer answer)
{
    switch (answer) {
    case Answer::OK:
        return QMessageBox::Ok;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

Answer toAnswer(int button, Buttons buttons)
{
    switch (button) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::OK;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        // The close box: Cancel where there is one, else the box's only answer.
        if (buttons == Buttons::YesNo)
            return Answer::No;
        return buttons == Buttons::OK ? Answer::OK : Answer::Cancel;
    }
}

} // namespace

QString displayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QString qtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!label.contains(QLatin1Char('(')))
            label += QStringLiteral(" (") + pattern + QLatin1Char(')');
        filters << label;
    }
    if (parts.size() == 1 && !parts.first().isEmpty())
        filters << parts.first();
    return filters.join(QStringLiteral(";;"));
}

QtPrompter::QtPrompter(QWidget* parent, StatusWriter statusWriter)
    : parent_(parent), statusWriter_(std::move(statusWriter))
{
}

QWidget* QtPrompter::owner() const
{
    // Over the window the user is working in (the SQL query wizard, the
    // workbooks), which has the focus again when the dialog closes.
    QWidget* active = QApplication::activeWindow();
    return active != nullptr ? active : parent_.data();
}

namespace {

// The text as laid out, leading blanks and all, as rich text: a message box
// wraps plain text at half the screen's width. Nothing when a line is wider
// than the room there is: then wrapping is better than a box off the screen.
std::optional<QString> unwrappedText(const QString& shown, const QFont& font, int room)
{
    const QFontMetrics metrics(font);
    for (const QString& line : shown.split(QLatin1Char('\n')))
        if (metrics.horizontalAdvance(line) > room)
            return std::nullopt;
    return QStringLiteral("<p style=\"white-space:pre\">") + shown.toHtmlEscaped() + QStringLiteral("</p>");
}

} // namespace

Answer QtPrompter::message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                           Answer defaultAnswer)
{
    QMessageBox box(boxIcon(icon), boxTitle(title), QString(), boxButtons(buttons), owner());
    // A message names tables and values from the files: never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(text));
    const QScreen* screen = box.screen();
    // What the box lets itself grow to (the screen's width on a small screen,
    // else 1,000 pixels or the width less 480), less its icon and margins.
    const int screenWidth = screen != nullptr ? screen->availableGeometry().width() : 800;
    const int room = (screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000)) - 120;
    if (const auto unwrapped = unwrappedText(displayText(text), box.font(), room)) {
        box.setTextFormat(Qt::RichText);
        box.setText(*unwrapped);
    }
    box.setDefaultButton(toButton(defaultAnswer));
    // The hourglass must not hide the pointer while the user answers.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int button = box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    return toAnswer(button, buttons);
}

std::optional<QString> QtPrompter::input(const QString& prompt, const QString& title,
                                         const QString& defaultText)
{
    QInputDialog dialog(owner());
    dialog.setWindowTitle(boxTitle(title));
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(defaultText);
    // The prompt may name a table: shown as plain text, as a message box's is.
    for (QLabel* label : dialog.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtPrompter::openFile(const FileChoice& choice)
{
    QString start = choice.initialFolder;
    if (!choice.fileName.isEmpty())
        start = start.isEmpty() ? choice.fileName : start + QLatin1Char('/') + choice.fileName;
    const QString path =
        QFileDialog::getOpenFileName(owner(), choice.title.isEmpty() ? QStringLiteral("Open") : choice.title,
                                     start, qtFileFilter(choice.filter));
    return path.isEmpty() ? cancelledChoice(choice) : path;
}

QString QtPrompter::saveFile(const FileChoice& choice)
{
    QString start = choice.initialFolder;
    if (!choice.fileName.isEmpty())
        start = start.isEmpty() ? choice.fileName : start + QLatin1Char('/') + choice.fileName;
    const QString path = QFileDialog::getSaveFileName(
        owner(), choice.title.isEmpty() ? QStringLiteral("Save As") : choice.title, start,
        qtFileFilter(choice.filter));
    return path.isEmpty() ? cancelledChoice(choice) : path;
}

void QtPrompter::setStatus(int panel, const QString& text)
{
    if (statusWriter_)
        statusWriter_(panel, text);
}

void QtPrompter::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
}

} // namespace qv::shell
