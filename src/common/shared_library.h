#pragma once

namespace qv {

// Loads a shared library by the name the dynamic loader knows it by (its
// soname), kept for the life of the process as a linked library would be.
// Error 48 naming it when it cannot be loaded.
void* loadSharedLibrary(const char* soname);

// A function of a library loadSharedLibrary gave; error 48 naming both when
// the library lacks it.
void* librarySymbol(void* library, const char* soname, const char* name);

// A table of a library's functions, loaded on the first call and kept:
// resolve fills the table from the library's handle (with librarySymbol).
// A failed load raises and is tried again on the next call.
template <typename Table, void (*resolve)(Table&, void*, const char*)>
const Table& loadedLibrary(const char* soname)
{
    static const Table table = [soname] {
        Table loaded;
        resolve(loaded, loadSharedLibrary(soname), soname);
        return loaded;
    }();
    return table;
}

} // namespace qv
