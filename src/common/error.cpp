#include "common/error.h"

namespace qv {

Error::Error(int number, QString description)
    : number_(number), description_(std::move(description)),
      what_(QString(QStringLiteral("Error ") + QString::number(number) + QStringLiteral(": ") + description_)
                .toStdString())
{
}

Error Error::withAdvice(Advice advice) const
{
    Error advised = *this;
    advised.advice_ = advice;
    return advised;
}

Error objectNotSet(Advice advice)
{
    return Error(err::NoActiveWindow, QStringLiteral("Object variable or With block variable not set"))
        .withAdvice(advice);
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
    const QString text = errorText(layout, error.number(), error.description());
    const QString advice = adviceLine(error.advice());
    return advice.isEmpty() ? text : text + QLatin1Char('\r') + advice;
}

} // namespace qv
