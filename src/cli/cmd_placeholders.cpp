// Commands whose routines are still being built answer plainly.
#include "cli/commands.h"

#include <QTextStream>

namespace qv::cli {

static int notYet(const char* name)
{
    QTextStream(stderr) << name << ": not available in this build\n";
    return 3;
}

int runCreate(const QStringList&, const Options&)
{
    return notYet("create");
}
int runBatch(const QStringList&, const Options&)
{
    return notYet("batch");
}
int runImport(const QStringList&, const Options&)
{
    return notYet("import");
}

} // namespace qv::cli
