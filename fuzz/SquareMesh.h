// A small mesh record for the fuzz targets and their seeds: a square of four vertices in two
// triangles, with one morph target per name.
#pragma once

#include <span>
#include <string_view>

#include "mesh/LlmMesh.h"

namespace tovmar::fuzz {

// Target names as mesh files hold them: mixed case, Latin-1 bytes that are not UTF-8, UTF-8.
inline constexpr std::string_view kTargetNames[] = {"Big_Belly_Torso", "big_chest", "Long_Legs",
                                                    "Fu\xDF_L\xE4nge", "\xE8\x85\x95"};

// Target i moves corner i % 4 of the square (position, normal and texture coordinate).
LlmMesh MakeSquareMesh(std::span<const std::string_view> targetNames);

}  // namespace tovmar::fuzz
