// Reading a mesh file for a command, with the failures the mesh reader keeps silent reported.
#pragma once

#include <string>

#include "mesh/LlmMesh.h"

namespace tovmar::cli {

// The record of the ".llm" file at `path` (UTF-8), its path set to `path`. Throws CliError when
// the file is missing, is not a regular file (a folder, a pipe, a device), cannot be opened or
// read, or is far too large for a mesh file. The contents themselves are read leniently: a file
// that ends before its counts say gives what it holds (the application refuses such a file, to
// keep the mesh it already shows).
LlmMesh ReadMeshFile(const std::string& path);

}  // namespace tovmar::cli
