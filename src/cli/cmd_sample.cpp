#include "cli/commands.h"

#include "common/error.h"
#include "common/safe_file.h"
#include "store/sample/sample_auction.h"
#include "usage/usage_messages.h"

#include <QTextStream>

namespace qv::cli {

namespace {

int usageError(const QString& message)
{
    return usage::usageError("sample", message);
}

} // namespace

int runSample(const QStringList& args, const Options&)
{
    store::sample::SampleOptions sample;
    QString folder;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            if (!folder.isEmpty())
                return usageError(QStringLiteral("more than one folder given: ") + arg);
            folder = arg;
            continue;
        }
        if (i + 1 >= args.size())
            return usageError(arg + QStringLiteral(" needs a value"));
        const QString& value = args[++i];
        bool ok = false;
        if (arg == QLatin1String("--seed")) {
            sample.seed = value.toUInt(&ok);
        } else {
            const int number = value.toInt(&ok);
            if (arg == QLatin1String("--auction"))
                sample.auction = number;
            else if (arg == QLatin1String("--rounds"))
                sample.rounds = number;
            else if (arg == QLatin1String("--licenses"))
                sample.licenses = number;
            else if (arg == QLatin1String("--bidders"))
                sample.bidders = number;
            else
                return usageError(QStringLiteral("unknown option ") + arg);
        }
        if (!ok)
            return usageError(arg + QStringLiteral(" needs a whole number, not ") + value);
    }
    if (folder.isEmpty())
        return usageError(QStringLiteral("no folder given"));
    const QString problem = store::sample::sampleOptionsProblem(sample);
    if (!problem.isEmpty())
        return usageError(problem);

    try {
        const QStringList written = store::sample::writeSampleAuction(folder, sample);
        StandardOutput::instance().write(
            QStringLiteral("Wrote %1 round results files to %2\n").arg(written.size()).arg(folder));
        return 0;
    } catch (const Error& error) {
        QTextStream(stderr) << "sample: " << error.description() << "\n";
        return 1;
    }
}

} // namespace qv::cli
