#pragma once

#include <zip.h>

#include <memory>

namespace qv {

// The libzip functions the program calls.
#define QV_ZIP_FUNCTIONS(X)                                                                                  \
    X(zip_open)                                                                                              \
    X(zip_close)                                                                                             \
    X(zip_discard)                                                                                           \
    X(zip_strerror)                                                                                          \
    X(zip_get_error)                                                                                         \
    X(zip_error_code_zip)                                                                                    \
    X(zip_error_init_with_code)                                                                              \
    X(zip_error_strerror)                                                                                    \
    X(zip_error_fini)                                                                                        \
    X(zip_get_num_entries)                                                                                   \
    X(zip_get_name)                                                                                          \
    X(zip_stat_init)                                                                                         \
    X(zip_stat_index)                                                                                        \
    X(zip_fopen_index)                                                                                       \
    X(zip_fread)                                                                                             \
    X(zip_fclose)                                                                                            \
    X(zip_source_buffer)                                                                                     \
    X(zip_source_free)                                                                                       \
    X(zip_file_add)                                                                                          \
    X(zip_set_file_compression)                                                                              \
    X(zip_file_set_external_attributes)                                                                      \
    X(zip_file_set_dostime)                                                                                  \
    X(zip_error_init)                                                                                        \
    X(zip_source_buffer_create)                                                                              \
    X(zip_open_from_source)                                                                                  \
    X(zip_source_keep)                                                                                       \
    X(zip_source_stat)                                                                                       \
    X(zip_source_open)                                                                                       \
    X(zip_source_read)                                                                                       \
    X(zip_source_close)                                                                                      \
    X(zip_source_error)

// libzip, loaded when an archive is first read or written rather than with
// the program: most runs of quorvane-cli never open one, and libzip brings
// OpenSSL's library along, which cost every start about a millisecond.
struct ZipLibrary {
#define QV_ZIP_POINTER(name) decltype(&::name) name = nullptr;
    QV_ZIP_FUNCTIONS(QV_ZIP_POINTER)
#undef QV_ZIP_POINTER
};

// The loaded library; error 48 naming it when it cannot be loaded.
const ZipLibrary& zipLibrary();

// An open archive, discarded when it goes: a read ends so, and a write
// that was not closed (committed) leaves nothing behind.
struct ZipDiscard {
    void operator()(zip_t* archive) const { zipLibrary().zip_discard(archive); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipDiscard>;

} // namespace qv
