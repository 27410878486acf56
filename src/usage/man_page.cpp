#include "usage/man_page.h"

#include "usage/synopsis.h"

#include <QRegularExpression>
#include <QStringList>

namespace qv::usage {

namespace {

// Text as roff prints it: backslashes and hyphens escaped (a command line
// copied from the page must keep its minus signs), and a line that would
// start with a request character made plain.
QString escaped(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
    out.replace(QLatin1Char('-'), QStringLiteral("\\-"));
    if (out.startsWith(QLatin1Char('.')) || out.startsWith(QLatin1Char('\'')))
        out.prepend(QStringLiteral("\\&"));
    return out;
}

QString paragraphs(const char* text)
{
    QStringList out;
    for (const QString& paragraph : QString::fromUtf8(text).split(QStringLiteral("\n\n")))
        out << escaped(paragraph.simplified());
    return out.join(QStringLiteral("\n.PP\n")) + QLatin1Char('\n');
}

// A piece of a form: options and typed words in bold, what the user gives in
// italics, a blank that must not break the piece as an unbreakable one.
QString styled(const QString& piece)
{
    static const QRegularExpression tokens(QStringLiteral("-{1,2}[a-z][a-z-]*|[A-Z][A-Z0-9_]*|[a-z]+|."));
    QString out;
    QChar before;
    for (auto match = tokens.globalMatch(piece); match.hasNext();) {
        const QString token = match.next().captured();
        const QChar first = token.front();
        if (token.size() > 1 && first == QLatin1Char('-'))
            out += QStringLiteral("\\fB") + escaped(token) + QStringLiteral("\\fR");
        else if (first.isUpper())
            out += QStringLiteral("\\fI") + token + QStringLiteral("\\fR");
        else if (first.isLower() && before != QLatin1Char('.'))
            out += QStringLiteral("\\fB") + token + QStringLiteral("\\fR");
        else if (token == QStringLiteral(" "))
            out += QStringLiteral("\\ ");
        else
            out += escaped(token);
        before = token.back();
    }
    return out;
}

QString synopsis(const QString& program, const std::vector<const char*>& forms,
                 const std::vector<OptionUsage>& options)
{
    QString out;
    for (const char* form : forms) {
        out += QStringLiteral(".SY \"") + escaped(program) + QStringLiteral("\"\n");
        QStringList pieces;
        for (const QString& unit : synopsisUnits(form, options))
            pieces << styled(unit);
        if (!pieces.isEmpty())
            out += pieces.join(QLatin1Char(' ')) + QLatin1Char('\n');
        out += QStringLiteral(".YS\n");
    }
    return out;
}

QString optionItems(const std::vector<OptionUsage>& options)
{
    QString out;
    for (const OptionUsage& option : options) {
        out += QStringLiteral(".TP\n") + styled(QString::fromUtf8(option.name));
        if (*option.alias != '\0')
            out += QStringLiteral(", ") + styled(QString::fromUtf8(option.alias));
        if (option.takesValue())
            out += QLatin1Char(' ') + styled(QString::fromUtf8(option.value));
        out += QLatin1Char('\n') + escaped(QString::fromUtf8(option.text)) + QLatin1Char('\n');
    }
    return out;
}

QString commandSection(const ProgramUsage& program, const CommandUsage& command)
{
    const QString name = QString::fromUtf8(command.name);
    QString out = QStringLiteral(".SS ") + name + QLatin1Char('\n');
    out +=
        synopsis(QString::fromUtf8(program.name) + QLatin1Char(' ') + name, command.forms, command.options);
    out += QStringLiteral(".PP\n") + paragraphs(command.description);
    out += optionItems(command.options);
    if (!command.examples.empty()) {
        out += QStringLiteral(".PP\n") +
               (command.examples.size() == 1 ? QStringLiteral("Example:\n") : QStringLiteral("Examples:\n"));
        out += QStringLiteral(".RS 4\n.nf\n");
        for (const char* example : command.examples)
            for (const QString& line : QString::fromUtf8(example).split(QLatin1Char('\n')))
                out += escaped(line) + QLatin1Char('\n');
        out += QStringLiteral(".fi\n.RE\n");
    }
    return out;
}

} // namespace

QString manPage(const ProgramUsage& program, const QString& version)
{
    const QString name = QString::fromUtf8(program.name);
    QString out = QStringLiteral(".\\\" Made from the program's usage table when it is built.\n");
    out += QStringLiteral(".TH ") + escaped(name.toUpper()) + QStringLiteral(" 1 \"\" \"Quorvane ") +
           version + QStringLiteral("\" \"User Commands\"\n");
    out += QStringLiteral(".SH NAME\n") + escaped(name) + QStringLiteral(" \\- ") +
           escaped(QString::fromUtf8(program.purpose)) + QLatin1Char('\n');
    out += QStringLiteral(".SH SYNOPSIS\n") + synopsis(name, program.forms, program.options);
    out += QStringLiteral(".SH DESCRIPTION\n") + paragraphs(program.description);
    out += QStringLiteral(".SH OPTIONS\n") + optionItems(program.options);
    if (!program.commands.empty()) {
        out += QStringLiteral(".SH COMMANDS\n");
        for (const CommandUsage& command : program.commands)
            out += commandSection(program, command);
    }
    for (const SectionUsage& section : program.sections)
        out += QStringLiteral(".SH \"") + QString::fromUtf8(section.title).toUpper() +
               QStringLiteral("\"\n") + paragraphs(section.text);
    if (!program.seeAlso.empty()) {
        QStringList references;
        static const QRegularExpression reference(QStringLiteral("^(.*)\\((\\d)\\)$"));
        for (const char* page : program.seeAlso) {
            const auto match = reference.match(QString::fromUtf8(page));
            references << QStringLiteral(".BR ") + escaped(match.captured(1)) + QStringLiteral(" (") +
                              match.captured(2) + QLatin1Char(')');
        }
        out += QStringLiteral(".SH \"SEE ALSO\"\n") + references.join(QStringLiteral(" ,\n")) +
               QLatin1Char('\n');
    }
    return out;
}

} // namespace qv::usage
