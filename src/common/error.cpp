#include "common/error.h"

namespace qv {

Error::Error(int number, QString description)
    : number_(number), description_(std::move(description)),
      what_(QString(QStringLiteral("Error ") + QString::number(number) + QStringLiteral(": ") + description_)
                .toStdString())
{
}

Error objectNotSet()
{
    return Error(err::NoActiveWindow, QStringLiteral("Object variable or With block variable not set"));
}

Error routineNotOffered()
{
    return Error(err::NoSuchRoutine, QStringLiteral("Object doesn't support this property or method"));
}

QString errorText(ErrorLayout layout, int number, const QString& description)
{
    const QString n = QString::number(number);
    switch (layout) {
    case ErrorLayout::Report:
        return QStringLiteral("Error ") + n + QStringLiteral(": ") + description;
    case ErrorLayout::Generic:
        return QStringLiteral("Error:") + n + QStringLiteral(" ") + description;
    case ErrorLayout::Command:
        return QStringLiteral("Error: ") + n + QStringLiteral(" ") + description;
    case ErrorLayout::Export:
        return QStringLiteral("Error ") + n + QStringLiteral(" ") + description;
    }
    return description;
}

QString errorText(ErrorLayout layout, const Error& error)
{
    return errorText(layout, error.number(), error.description());
}

} // namespace qv
