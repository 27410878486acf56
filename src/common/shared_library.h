#pragma once

namespace qv {

// Loads a shared library by the name the dynamic loader knows it by (its
// soname), kept for the life of the process as a linked library would be.
// Error 48 naming it when it cannot be loaded.
void* loadSharedLibrary(const char* soname);

// A function of a library loadSharedLibrary gave; error 48 naming both when
// the library lacks it.
void* librarySymbol(void* library, const char* soname, const char* name);

} // namespace qv
