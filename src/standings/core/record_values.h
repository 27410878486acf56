#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace qv::store {
class Recordset;
}

namespace qv::standings {

// A cell of a record set as a number: whole numbers, fractions, and texts or
// other values that read as one; nothing for null or anything else.
std::optional<double> numberAt(const store::Recordset& rows, int row, int column);
// A cell as text; empty for null.
QString textAt(const store::Recordset& rows, int row, int column);

// Names numbered in the order they are first met, so that the standings work
// on small numbers and print the names.
class NameIndex {
public:
    int id(const QString& name)
    {
        const auto found = ids_.constFind(name);
        if (found != ids_.constEnd())
            return *found;
        names_ << name;
        return *ids_.insert(name, static_cast<int>(names_.size()) - 1);
    }
    // -1 for a name never met.
    int find(const QString& name) const { return ids_.value(name, -1); }
    const QString& name(int id) const { return names_.at(id); }
    int size() const { return static_cast<int>(names_.size()); }
    const QStringList& names() const { return names_; }

private:
    QStringList names_;
    QHash<QString, int> ids_;
};

} // namespace qv::standings
