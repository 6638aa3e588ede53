// The window's message, in Japanese, for a mesh file that is not loaded: the program's one line
// first, then the file and what is wrong with it.
#pragma once

#include <string>

#include "mesh/MeshLoad.h"

namespace tovmar {

// "指定ファイルが読み込めませんでした。", the path (UTF-8) and why: the file is missing or
// unreadable, no regular file, too large, or where it ends short of what it declares.
std::string MeshReadMessage(const std::string& path, const MeshReadRefusal& why);

}  // namespace tovmar
