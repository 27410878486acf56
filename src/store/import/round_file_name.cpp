#include "store/import/round_file_name.h"

#include "common/error.h"

namespace qv {

namespace {

int numberIn(const QString& fileName, qsizetype start, qsizetype length)
{
    bool ok = false;
    const int n = fileName.mid(start, length).trimmed().toInt(&ok);
    if (!ok)
        throw Error(err::TypeMismatch, QStringLiteral("Type mismatch: '%1' is not a round results file name "
                                                      "(auction number, '_', round number, '.zip').")
                                           .arg(fileName));
    return n;
}

} // namespace

int auctionNumberOf(const QString& fileName)
{
    return numberIn(fileName, 0, 2);
}
int roundNumberOf(const QString& fileName)
{
    return numberIn(fileName, 3, 3);
}

QString memberNameOf(const QString& fileName)
{
    return fileName.left(std::max<qsizetype>(0, fileName.size() - 4)) + QStringLiteral(".mdb");
}

} // namespace qv
