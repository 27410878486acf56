#include "common/shared_library.h"

#include "common/error.h"

#include <dlfcn.h>

namespace qv {

void* loadSharedLibrary(const char* soname)
{
    void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw Error(err::LibraryNotLoaded,
                    QStringLiteral("Error in loading library: %1 cannot be loaded (%2).")
                        .arg(QString::fromUtf8(soname), QString::fromLocal8Bit(dlerror())));
    return handle;
}

void* librarySymbol(void* library, const char* soname, const char* name)
{
    void* symbol = dlsym(library, name);
    if (!symbol)
        throw Error(err::LibraryNotLoaded, QStringLiteral("Error in loading library: %1 has no %2.")
                                               .arg(QString::fromUtf8(soname), QString::fromUtf8(name)));
    return symbol;
}

} // namespace qv
