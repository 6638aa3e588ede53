#include "mesh/LlmReadReport.h"

#include <string>

#include "mesh/LlmMesh.h"

namespace tovmar {

namespace {

std::string Count(std::uint64_t n) {
  return std::to_string(n);
}

// "P of D" for the cut section, in elements.
std::string PresentOfDeclared(const LlmReadReport& r) {
  return Count(r.present) + " of " + Count(r.declared);
}

// "morph target 'NAME'" for a target that the file cuts.
std::string TargetName(const LlmReadReport& r, const LlmMesh& mesh) {
  std::string name = "morph target '";
  name += mesh.morphTargets[r.cutTarget].DisplayName();
  name += '\'';
  return name;
}

std::string DescribeMorphCut(const LlmReadReport& r, const LlmMesh& mesh) {
  if (r.tooManyTargets) {
    return "the morph section holds more than " + Count(LlmReadReport::kMaxMorphTargets) +
           " targets; the rest of the file is not read";
  }
  if (r.cutTarget >= mesh.morphTargets.size()) {
    return "the morph section ends without its end block (" + Count(r.present) + " targets read)";
  }
  if (!r.countWhole) return "the file ends inside the record count of " + TargetName(r, mesh);
  return "the file ends inside the records of " + TargetName(r, mesh) + ": " + PresentOfDeclared(r);
}

}  // namespace

const char* SectionName(LlmSection section) {
  switch (section) {
    case LlmSection::kNone:
      return "none";
    case LlmSection::kHeader:
      return "header";
    case LlmSection::kVertices:
      return "vertices";
    case LlmSection::kFaces:
      return "faces";
    case LlmSection::kJoints:
      return "joints";
    case LlmSection::kMorphs:
      return "morphs";
    case LlmSection::kRemaps:
      return "remaps";
  }
  return "none";
}

bool LlmReadReport::GeometryCut() const {
  return cutIn == LlmSection::kHeader || cutIn == LlmSection::kVertices ||
         cutIn == LlmSection::kFaces;
}

bool LlmReadReport::TailCut() const {
  return cutIn != LlmSection::kNone && !GeometryCut();
}

bool LlmReadReport::IsMesh() const {
  return !GeometryCut() && nonFiniteVertexValues == 0;
}

std::string DescribeCut(const LlmReadReport& r, const LlmMesh& mesh) {
  switch (r.cutIn) {
    case LlmSection::kNone:
      return "the file holds everything it declares";
    case LlmSection::kHeader:
      return "the file ends inside its " + Count(r.declaredBytes) + "-byte header, after " +
             Count(r.presentBytes) + " bytes";
    case LlmSection::kVertices:
      return "the file ends inside the vertex arrays: " + Count(r.presentBytes) + " of the " +
             Count(r.declaredBytes) + " bytes of " + Count(r.declared) + " vertices";
    case LlmSection::kFaces:
      if (!r.countWhole) return "the file ends before its face count";
      return "the file ends inside the face list: " + PresentOfDeclared(r) + " faces";
    case LlmSection::kJoints:
      if (!r.countWhole) return "the file ends before its skin joint count";
      return "the file ends inside the skin joint names: " + PresentOfDeclared(r);
    case LlmSection::kMorphs:
      return DescribeMorphCut(r, mesh);
    case LlmSection::kRemaps:
      if (!r.countWhole) return "the file ends before its remap count";
      return "the file ends inside the remaps: " + PresentOfDeclared(r);
  }
  return "";
}

std::string DescribeNotAMesh(const LlmReadReport& r, const LlmMesh& mesh) {
  if (r.GeometryCut()) return DescribeCut(r, mesh);
  return "values that are not finite numbers in the positions, normals or texture coordinates: " +
         Count(r.nonFiniteVertexValues);
}

}  // namespace tovmar
