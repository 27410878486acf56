#include "shell/late_call.h"

#include "common/error.h"

#include <QMetaObject>
#include <QObject>

namespace qv::shell {

namespace {

void requireTarget(const QObject* target)
{
    if (target == nullptr)
        throw objectNotSet(Advice::OpenGridWindow);
}

[[noreturn]] void noSuchRoutine()
{
    throw routineNotOffered();
}

bool offers(const QObject* target, const char* routine, const char* arguments)
{
    const QByteArray signature = QMetaObject::normalizedSignature(QByteArray(routine) + arguments);
    return target->metaObject()->indexOfMethod(signature.constData()) >= 0;
}

} // namespace

void callByName(QObject* target, const char* routine)
{
    requireTarget(target);
    if (!offers(target, routine, "()") || !QMetaObject::invokeMethod(target, routine, Qt::DirectConnection))
        noSuchRoutine();
}

void callByName(QObject* target, const char* routine, const QString& argument)
{
    requireTarget(target);
    if (!offers(target, routine, "(QString)") ||
        !QMetaObject::invokeMethod(target, routine, Qt::DirectConnection, Q_ARG(QString, argument)))
        noSuchRoutine();
}

} // namespace qv::shell
