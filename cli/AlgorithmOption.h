#pragma once
// The digest named by a subcommand's -a option.

#include <string>

#include <CLI/CLI.hpp>

#include "hash/HashAlgorithm.h"

namespace korvala::cli {

// The algorithm named (without regard to case); an unknown name is a usage error.
inline HashAlgorithm algorithmOption(const std::string& name)
{
    const auto algorithm = hashAlgorithmFromName(name);
    if (!algorithm)
        throw CLI::ValidationError("--algorithm", "unknown hash algorithm \"" + name + "\"");
    return *algorithm;
}

}  // namespace korvala::cli
