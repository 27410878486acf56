#include "usage/terminal_help.h"

#include "usage/synopsis.h"

#include <QStringList>

namespace qv::usage {

namespace {

constexpr qsizetype lineWidth = 79;
// Where the text beside an option or a command's form begins.
constexpr qsizetype textColumn = 23;

// Pieces laid out in lines: the first after `first` (which may end a line of
// its own), the others after `rest`, breaking only between pieces.
QString laidOut(const QStringList& pieces, const QString& first, const QString& rest)
{
    QString text = first;
    qsizetype lineStart = text.lastIndexOf(QLatin1Char('\n')) + 1;
    bool lineEmpty = true;
    for (const QString& piece : pieces) {
        if (!lineEmpty && text.size() - lineStart + 1 + piece.size() > lineWidth) {
            text += QLatin1Char('\n');
            lineStart = text.size();
            text += rest;
            lineEmpty = true;
        }
        if (!lineEmpty)
            text += QLatin1Char(' ');
        text += piece;
        lineEmpty = false;
    }
    return text;
}

// Paragraphs filled to the line width, each line after `indent`.
QString filled(const char* paragraphs, const QString& indent)
{
    QStringList out;
    for (const QString& paragraph : QString::fromUtf8(paragraphs).split(QStringLiteral("\n\n")))
        out << laidOut(paragraph.simplified().split(QLatin1Char(' ')), indent, indent);
    return out.join(QStringLiteral("\n\n")) + QLatin1Char('\n');
}

// "label   text", the text filled from the text column, on the next line when
// the label reaches it.
QString besideLabel(QString label, const char* text)
{
    const QString indent(textColumn, QLatin1Char(' '));
    const qsizetype lastLine = label.size() - label.lastIndexOf(QLatin1Char('\n')) - 1;
    if (lastLine + 2 > textColumn)
        label += QLatin1Char('\n') + indent;
    else
        label += QString(textColumn - lastLine, QLatin1Char(' '));
    return laidOut(QString::fromUtf8(text).simplified().split(QLatin1Char(' ')), label, indent) +
           QLatin1Char('\n');
}

QString optionLabel(const OptionUsage& option)
{
    QString label = QStringLiteral("  ") + QString::fromUtf8(option.name);
    if (*option.alias != '\0')
        label += QStringLiteral(", ") + QString::fromUtf8(option.alias);
    if (option.takesValue())
        label += QLatin1Char(' ') + QString::fromUtf8(option.value);
    return label;
}

QString optionList(const std::vector<OptionUsage>& options)
{
    QString text = QStringLiteral("Options:\n");
    for (const OptionUsage& option : options)
        text += besideLabel(optionLabel(option), option.text);
    return text;
}

// "Usage: program form" for each form, continued lines under the form's start.
QString formLines(const QString& program, const std::vector<const char*>& forms,
                  const std::vector<OptionUsage>& options)
{
    QString text;
    bool first = true;
    for (const char* form : forms) {
        const QString start = (first ? QStringLiteral("Usage: ") : QStringLiteral("       ")) + program;
        const QStringList units = synopsisUnits(form, options);
        text += units.isEmpty()
                    ? start
                    : laidOut(units, start + QLatin1Char(' '), QString(start.size() + 1, QLatin1Char(' ')));
        text += QLatin1Char('\n');
        first = false;
    }
    return text;
}

QString sectionText(const SectionUsage& section)
{
    return QLatin1Char('\n') +
           laidOut(QString::fromUtf8(section.text).simplified().split(QLatin1Char(' ')),
                   QString::fromUtf8(section.title) + QStringLiteral(": "), {}) +
           QLatin1Char('\n');
}

} // namespace

QString programHelp(const ProgramUsage& program)
{
    const QString name = QString::fromUtf8(program.name);
    QString text = formLines(name, program.forms, program.options);
    text += QLatin1Char('\n') + filled(program.description, {});
    if (!program.commands.empty()) {
        text += QStringLiteral("\nCommands:\n");
        for (const CommandUsage& command : program.commands) {
            const QString start = QStringLiteral("  ") + QString::fromUtf8(command.name);
            QStringList forms;
            for (const char* form : command.forms)
                forms << laidOut(synopsisUnits(form, command.options), start + QLatin1Char(' '),
                                 QString(start.size() + 1, QLatin1Char(' ')));
            text += besideLabel(forms.join(QLatin1Char('\n')), command.summary);
        }
    }
    text += QLatin1Char('\n') + optionList(program.options);
    for (const SectionUsage& section : program.sections)
        text += sectionText(section);
    return text;
}

QString commandHelp(const ProgramUsage& program, const CommandUsage& command)
{
    QString text =
        formLines(QString::fromUtf8(program.name) + QLatin1Char(' ') + QString::fromUtf8(command.name),
                  command.forms, command.options);
    text += QLatin1Char('\n') + filled(command.description, {});
    std::vector<OptionUsage> options = command.options;
    options.push_back(helpOption());
    text += QLatin1Char('\n') + optionList(options);
    if (!command.examples.empty()) {
        text +=
            command.examples.size() == 1 ? QStringLiteral("\nExample:\n") : QStringLiteral("\nExamples:\n");
        for (const char* example : command.examples)
            for (const QString& line : QString::fromUtf8(example).split(QLatin1Char('\n')))
                text += QStringLiteral("  ") + line + QLatin1Char('\n');
    }
    return text;
}

} // namespace qv::usage
