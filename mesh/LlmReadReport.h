// What reading a ".llm" file found: where the file ended short of what it declares, which values
// could not be taken, and how much was read. Every reader of mesh files decides from this alone
// whether the file is a mesh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tovmar {

class LlmMesh;

// The sections of a mesh file, in file order.
enum class LlmSection : std::uint8_t {
  kNone,
  kHeader,    // the fixed 65-byte prefix, the vertex count included
  kVertices,  // the vertex arrays
  kFaces,     // the face count and the face list
  kJoints,    // the skin joint count and names
  kMorphs,    // the morph target blocks and the end block
  kRemaps,    // the remap count and the remaps
};

// A lowercase English name of `section` ("vertices", "morphs", ...).
const char* SectionName(LlmSection section);

struct LlmReadReport {
  // The most morph targets a file may hold; a morph section with more is read up to this many.
  static constexpr std::size_t kMaxMorphTargets = 65535;

  // The section in which the file ends short of what it declares; every later section is absent.
  // kNone: the file holds everything it declares, the end block and the remaps included.
  LlmSection cutIn = LlmSection::kNone;
  // For `cutIn`: false when the file ends before the section's own count is whole (the face,
  // joint, remap or morph record count), and then nothing is declared.
  bool countWhole = true;
  // For `cutIn`: what it declares and the whole elements of it that the file holds, in elements
  // (header: bytes; vertices: vertices, as many as the bytes present would fill; faces; joint
  // names; the cut target's records; remaps; for a morph section without its end block, the
  // targets read) and in bytes.
  std::uint64_t declared = 0;
  std::uint64_t present = 0;
  std::uint64_t declaredBytes = 0;
  std::uint64_t presentBytes = 0;
  // For a cut in the morph section: the index of the target whose count or records the file cuts,
  // or the number of targets read when the section lacks its end block.
  std::size_t cutTarget = 0;
  // The morph section held more than kMaxMorphTargets targets; the rest of the file is not read.
  bool tooManyTargets = false;

  // Position, normal and texture-coordinate components that are not finite numbers.
  std::uint64_t nonFiniteVertexValues = 0;
  // Morph records left out because a delta that the deformation uses is not a finite number.
  std::uint64_t skippedMorphRecords = 0;

  // The bytes taken from the input.
  std::uint64_t bytesRead = 0;

  // Whether the file ends inside its header, vertex arrays or face list.
  bool GeometryCut() const;
  // Whether the file ends inside its joint names, morph section or remaps, which are read as far
  // as the file holds them.
  bool TailCut() const;
  // Whether the file is a mesh: its header, vertex arrays and face list are whole, and its
  // positions, normals and texture coordinates are finite numbers.
  bool IsMesh() const;
};

// One English sentence on where the file ends, for a report with a cut ("the file ends inside
// the vertex arrays: ..."); `mesh` is the record read with it, for the names of morph targets.
std::string DescribeCut(const LlmReadReport& report, const LlmMesh& mesh);

// One English sentence on why a file is not a mesh, for a report that says it is not.
std::string DescribeNotAMesh(const LlmReadReport& report, const LlmMesh& mesh);

}  // namespace tovmar
