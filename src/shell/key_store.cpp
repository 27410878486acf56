#include "shell/key_store.h"

#include "common/paths.h"

#include <QFile>
#include <QTextStream>

namespace qv::shell {

namespace {

QString& overriddenPath()
{
    static QString path;
    return path;
}

QString rootName(std::uint32_t root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_CURRENT_USER:
        return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    default:
        return {};
    }
}

} // namespace

QString keyStorePath()
{
    if (!overriddenPath().isEmpty())
        return overriddenPath();
    const QString fromEnvironment = qEnvironmentVariable("QUORVANE_KEYSTORE");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return joinPath(applicationFolder(), QStringLiteral("keystore.ini"));
}

void setKeyStorePath(const QString& path)
{
    overriddenPath() = path;
}

bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal)
{
    KeyVal.clear();
    const QString root = rootName(KeyRoot);
    if (root.isEmpty())
        return false;
    QFile file(keyStorePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QString wantedKey = root + QLatin1Char('\\') + KeyName;
    QTextStream in(&file);
    bool inKey = false;
    bool keyFound = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inKey = line.mid(1, line.size() - 2).compare(wantedKey, Qt::CaseInsensitive) == 0;
            keyFound = keyFound || inKey;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inKey || equals < 0 || line.left(equals).trimmed().compare(SubKeyRef, Qt::CaseInsensitive) != 0)
            continue;
        const QString value = line.mid(equals + 1).trimmed();
        if (value.startsWith(QLatin1String("dword:"))) {
            bool ok = false;
            const uint number = value.mid(6).toUInt(&ok, 16);
            if (ok)
                KeyVal = QStringLiteral("&h") + QString::number(number, 16).toUpper();
        } else {
            KeyVal = value;
        }
        return true;
    }
    return false;
}

} // namespace qv::shell
