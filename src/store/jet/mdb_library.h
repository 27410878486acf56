#pragma once

// mdbtools.h includes GLib inside extern "C", where GLib's C++ parts cannot
// be declared: GLib comes first.
#include <glib.h>

#include <mdbtools.h>

namespace qv::store::jet {

// The libmdb functions the Jet reader calls, and GLib's free for what they return.
#define QV_MDB_FUNCTIONS(X)                                                                                  \
    X(mdb_open_buffer)                                                                                       \
    X(mdb_close)                                                                                             \
    X(mdb_set_bind_size)                                                                                     \
    X(mdb_set_boolean_fmt_numbers)                                                                           \
    X(mdb_read_catalog)                                                                                      \
    X(mdb_read_table)                                                                                        \
    X(mdb_read_columns)                                                                                      \
    X(mdb_free_tabledef)                                                                                     \
    X(mdb_bind_column)                                                                                       \
    X(mdb_rewind_table)                                                                                      \
    X(mdb_fetch_row)                                                                                         \
    X(mdb_col_to_string)                                                                                     \
    X(mdb_ole_read_full)                                                                                     \
    X(g_free)

// libmdb, loaded when a Jet database is first read rather than with the
// program: the agency's round files are Jet only now and then, and every
// other run of either program would pay for loading it.
struct MdbLibrary {
#define QV_MDB_POINTER(name) decltype(&::name) name = nullptr;
    QV_MDB_FUNCTIONS(QV_MDB_POINTER)
#undef QV_MDB_POINTER
};

// The loaded library; error 48 naming it when it cannot be loaded.
const MdbLibrary& mdbLibrary();

} // namespace qv::store::jet
