#pragma once

#include <QString>
#include <QVariant>

#include <ostream>

// Lets GoogleTest show Qt values as text in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '{';
    for (const QString& s : l)
        *os << '"' << s.toStdString() << "\" ";
    *os << '}';
}
inline void PrintTo(const QVariant& v, std::ostream* os)
{
    *os << v.toString().toStdString();
}
