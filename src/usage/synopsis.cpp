#include "usage/synopsis.h"

#include <QRegularExpression>

namespace qv::usage {

namespace {

// The form's words, a bracketed group kept whole.
QStringList words(const QString& form)
{
    QStringList found;
    QString current;
    int depth = 0;
    for (const QChar c : form) {
        if (c == QLatin1Char(' ') && depth == 0) {
            if (!current.isEmpty())
                found << current;
            current.clear();
            continue;
        }
        depth += c == QLatin1Char('[') ? 1 : c == QLatin1Char(']') ? -1 : 0;
        current += c;
    }
    if (!current.isEmpty())
        found << current;
    return found;
}

const OptionUsage* optionNamed(const QString& word, const std::vector<OptionUsage>& options)
{
    for (const OptionUsage& option : options) {
        if (option.named(word))
            return &option;
    }
    return nullptr;
}

} // namespace

QStringList synopsisUnits(const char* form, const std::vector<OptionUsage>& options)
{
    const QStringList all = words(QString::fromUtf8(form));
    QStringList units;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const OptionUsage* option = optionNamed(all[i], options);
        if (option && option->takesValue() && i + 1 < all.size()) {
            units << all[i] + QLatin1Char(' ') + all[i + 1];
            ++i;
        } else {
            units << all[i];
        }
    }
    return units;
}

std::vector<Positional> positionals(const char* form, const std::vector<OptionUsage>& options)
{
    std::vector<Positional> found;
    for (QString unit : synopsisUnits(form, options)) {
        if (unit.endsWith(QLatin1String("...")))
            unit.chop(3);
        const bool optional = unit.startsWith(QLatin1Char('[')) && unit.endsWith(QLatin1Char(']'));
        if (optional)
            unit = unit.mid(1, unit.size() - 2);
        if (!unit.startsWith(QLatin1Char('-')))
            found.push_back({unit, optional});
    }
    return found;
}

QStringList Positional::words() const
{
    return literalWords(name);
}

QStringList literalWords(const QString& value)
{
    static const QRegularExpression plain(QStringLiteral("^[a-z]+(\\|[a-z]+)*$"));
    return plain.match(value).hasMatch() ? value.split(QLatin1Char('|')) : QStringList();
}

} // namespace qv::usage
