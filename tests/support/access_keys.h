#pragma once

// The access keys of a menu's items: a letter two items share only ever
// reaches the first of them.
#include <QAction>
#include <QMenu>
#include <QStringList>

namespace qv::test {

// The letters (in lower case) that more than one item of the menu, or of one
// of its submenus, marks with "&"; empty when every key is the item's own.
inline QStringList repeatedAccessKeys(const QMenu& menu)
{
    QStringList seen;
    QStringList repeated;
    const QList<QAction*> actions = menu.actions();
    for (const QAction* action : actions) {
        if (action->menu() != nullptr)
            repeated << repeatedAccessKeys(*action->menu());
        const QString text = action->text();
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        if (at < 0 || at + 1 >= text.size() || text[at + 1] == QLatin1Char('&'))
            continue;
        const QString key = text.mid(at + 1, 1).toLower();
        if (seen.contains(key))
            repeated << key;
        seen << key;
    }
    return repeated;
}

} // namespace qv::test
