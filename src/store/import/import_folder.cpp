#include "store/import/import_folder.h"

#include "common/error.h"
#include "common/paths.h"
#include "common/safe_file.h"
#include "store/session.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cmath>

namespace qv {

QString lastImportFilePath()
{
    return joinPath(applicationFolder(), QStringLiteral("lastimp.inf"));
}

QString roundDigits(int round)
{
    return QStringLiteral("%1").arg(round, 3, 10, QLatin1Char('0'));
}

void SaveImportFolder(Prompter& prompter, const QString& chosenPath)
{
    try {
        const QString file = session().LastImportFile;
        const QByteArray content = SplitPath(chosenPath, false).toUtf8() + "\r\n";
        // Rounds mostly come from the folder of the one before: a file that
        // already says so is left as it is, sparing each import two syncs.
        QFile current(file);
        if (current.open(QIODevice::ReadOnly) && current.size() == content.size() &&
            current.readAll() == content)
            return;
        current.close();
        try {
            // Replaced whole or not at all: a full disk never leaves it empty.
            writeFileSafely(file, content);
        } catch (const Error& e) {
            if (e.number() == err::PathNotFound)
                throw Error(err::PathNotFound,
                            QStringLiteral("Path not found: cannot write '%1'.").arg(file));
            throw;
        }
    } catch (const Error& e) {
        showGenericError(prompter, e);
    }
}

QString ReadImportFolder(Prompter& prompter)
{
    try {
        QFile in(session().LastImportFile);
        if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
            throw Error(err::FileNotFound, QStringLiteral("File not found"));
        QString line = QString::fromUtf8(in.readLine());
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        return line;
    } catch (const Error& e) {
        showGenericError(prompter, e);
        return {};
    }
}

QString nextRoundFileBaseName()
{
    auto& db = *session().CurrentDatabase;
    auto rounds =
        db.openRecordset(QStringLiteral("SELECT TOP 1 [Round] FROM [sysRounds] ORDER BY [Round] DESC"));
    auto auction =
        db.openRecordset(QStringLiteral("SELECT [Auction ID] FROM [Round Statistics] WHERE [Round] = 1"));
    rounds->moveFirst();
    auction->moveFirst();
    const int highest = rounds->value(QStringLiteral("Round")).toInt();
    // File names carry the auction number in two characters: auction 5's
    // files are 05_RRR.zip, so a one-digit number gets its leading zero.
    const QVariant id = auction->value(QStringLiteral("Auction ID"));
    bool numeric = false;
    const double number = id.toDouble(&numeric);
    const QString idText =
        numeric && number == std::floor(number)
            ? QStringLiteral("%1").arg(static_cast<qint64>(number), 2, 10, QLatin1Char('0'))
            : id.toString();
    return idText + QLatin1Char('_') + roundDigits(highest + 1) + QStringLiteral(".zip");
}

QString NextRoundFileName(Prompter& prompter)
{
    const QString folder = ReadImportFolder(prompter);
    const QString name = folder + nextRoundFileBaseName();
    return QFileInfo(name).isFile() ? name : QStringLiteral("NOT FOUND");
}

} // namespace qv
