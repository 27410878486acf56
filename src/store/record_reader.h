#pragma once

#include "store/recordset.h"

#include <vector>

namespace qv::store {

class Statement;

// Reads every row of a prepared SELECT into values typed by their columns'
// declared types. Repeated texts of a column share one string, so that a
// large table of repeated names stays small in memory.
class RecordReader {
public:
    RecordReader(Statement& statement, const std::vector<Field>* knownFields);
    void readAll();
    std::vector<Field> takeFields() { return std::move(fields_); }
    std::vector<QVariant> takeValues() { return std::move(values_); }

private:
    QVariant read(int column);

    Statement& statement_;
    std::vector<Field> fields_;
    std::vector<QVariant> values_;
    std::vector<QHash<QByteArray, QString>> texts_;
};

} // namespace qv::store
