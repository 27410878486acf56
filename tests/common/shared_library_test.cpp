// Libraries loaded when first needed (libzip, libmdb) fail with a message
// that names what is missing, never a crash on a null function.
#include "common/error.h"
#include "common/shared_library.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(SharedLibrary, AMissingLibraryOrFunctionIsNamedInError48)
{
    void* c = loadSharedLibrary("libc.so.6");
    EXPECT_NE(librarySymbol(c, "libc.so.6", "strlen"), nullptr);
    const struct {
        const char* soname;
        const char* symbol; // null: the library itself is missing
        QString message;
    } cases[] = {
        {"libquorvane-absent.so.9", nullptr,
         QStringLiteral("Error in loading library: libquorvane-absent.so.9 cannot be loaded (")},
        {"libc.so.6", "mdb_open_buffer",
         QStringLiteral("Error in loading library: libc.so.6 has no mdb_open_buffer.")},
    };
    for (const auto& c2 : cases) {
        try {
            if (c2.symbol)
                librarySymbol(c, c2.soname, c2.symbol);
            else
                loadSharedLibrary(c2.soname);
            ADD_FAILURE() << c2.soname << " loaded";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::LibraryNotLoaded);
            EXPECT_TRUE(e.description().startsWith(c2.message)) << e.description().toStdString();
        }
    }
}
