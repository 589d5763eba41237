#pragma once
// Functions of libraries loaded at run time, looked up once per process.
// Errors: see platform/SystemError.h; a missing library or symbol is an answer
// (nullptr), not a failure.

#include <string>

namespace korvala {

// The address of `symbol` in `library` (a name the dynamic loader finds, or a path);
// nullptr when the library or the symbol is missing. Libraries stay loaded for the
// life of the process and each answer is kept, so repeated calls are cheap. Safe to
// call from any thread.
void* loadLibraryFunction(const std::string& library, const std::string& symbol);

}  // namespace korvala
