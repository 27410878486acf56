#pragma once

#include <QString>

struct sqlite3;

namespace qv::store {

// All-or-nothing work on one connection, inside or outside a transaction of
// the caller: everything since the savepoint is undone unless release() is
// reached, so a failure part-way leaves nothing half done.
class Savepoint {
public:
    Savepoint(sqlite3* db, QString name);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

    void release();

private:
    sqlite3* db_;
    QString name_;
    bool open_ = true;
};

// A transaction that takes the write lock at once, waiting up to the busy
// timeout while another program writes, and is rolled back unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    void commit();

private:
    sqlite3* db_;
    bool open_ = true;
};

// Runs work inside a savepoint of db.
template <typename F> void atomically(sqlite3* db, const QString& name, F work)
{
    Savepoint savepoint(db, name);
    work();
    savepoint.release();
}

} // namespace qv::store
