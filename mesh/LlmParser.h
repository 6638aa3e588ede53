// The one walk through the layout of a ".llm" file, over any byte reader (bytes in memory, or an
// open file): it fills a record section by section and reports where the input ended short of
// what the file declares. Nothing is allocated for data the input cannot hold, and nothing after
// the section the input cuts is read.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/FillByReadVector.h"
#include "mesh/FloatScan.h"
#include "mesh/LlmMesh.h"
#include "mesh/LlmReadReport.h"
#include "mesh/LlmSections.h"

namespace tovmar {

// The fixed part before the vertex arrays: header, two flags, position, rotation, rotation order,
// scale and the vertex count.
inline constexpr std::size_t kLlmPrefixBytes = 65;

template <typename Reader>
class LlmParser {
 public:
  // `mesh` must be empty; it receives what the input supplies.
  LlmParser(Reader& in, LlmMesh& mesh, LlmReadReport& report)
      : m_in(in), m_mesh(mesh), m_report(report) {}

  void Parse(LlmSections sections = LlmSections::kAll) {
    if (!(ReadPrefix() && ReadVertices() && ReadFaces() && ReadJoints())) return;
    if (sections == LlmSections::kAll && ReadMorphs()) ReadRemaps();
  }

 private:
  // 192 KiB of morph records: read and checked while in the cache.
  static constexpr std::size_t kRecordsPerBlock = 4096;

  static constexpr char kEndMorphs[11] = {'E', 'n', 'd', ' ', 'M', 'o', 'r', 'p', 'h', 's', '\0'};

  // Reads `size` bytes into `out` (zeros where the input ends) and returns how many it supplied.
  std::size_t Take(void* out, std::size_t size) {
    const std::size_t got = m_in.Read(out, size);
    m_report.bytesRead += got;
    return got;
  }

  // A little-endian count field of `Size` bytes; false when the input ends inside it.
  template <std::size_t Size>
  bool TakeCount(std::uint32_t& value, std::size_t& got) {
    unsigned char raw[Size] = {};
    got = Take(raw, Size);
    value = 0;
    for (std::size_t i = Size; i-- > 0;) value = (value << 8) | raw[i];
    return got == Size;
  }

  // The floats of `values` that are not finite numbers; its elements hold floats only.
  template <typename Array>
  static std::uint64_t NonFiniteFloats(const Array& values) {
    return CountNonFiniteFloats(values.data(), values.size() * (sizeof(values[0]) / sizeof(float)));
  }

  // Makes `out` hold `count` elements for a read to fill: left unwritten where the array allows
  // it, zero-filled otherwise.
  template <typename T>
  static void MakeRoom(FillByReadVector<T>& out, std::size_t count) {
    out = MakeUnwritten<T>(count);
  }
  template <typename T>
  static void MakeRoom(std::vector<T>& out, std::size_t count) {
    out.resize(count);
  }

  // Reads `count` elements into `out`; returns the bytes the input supplied.
  template <typename Array>
  std::size_t TakeArray(Array& out, std::size_t count) {
    MakeRoom(out, count);
    return count > 0 ? Take(out.data(), count * sizeof(out[0])) : 0;
  }

  // How many elements of `size` bytes the rest of the input holds whole, at most `count`.
  std::uint64_t WholeLeft(std::uint64_t count, std::uint64_t size) const {
    return std::min(count, m_in.Remaining() / size);
  }

  // Notes that the input ends inside `section`; the walk stops there.
  bool Cut(LlmSection section, std::uint64_t declared, std::uint64_t present,
           std::uint64_t elementBytes, std::uint64_t presentBytes) {
    m_report.cutIn = section;
    m_report.declared = declared;
    m_report.present = present;
    m_report.declaredBytes = declared * elementBytes;
    m_report.presentBytes = presentBytes;
    return false;
  }

  // Notes that the input ends inside the count field of `section`, after `got` of its bytes.
  bool CutCount(LlmSection section, std::size_t countBytes, std::size_t got) {
    Cut(section, 0, 0, 0, got);
    m_report.countWhole = false;
    m_report.declaredBytes = countBytes;
    return false;
  }

  bool ReadPrefix() {
    unsigned char raw[kLlmPrefixBytes] = {};
    const std::size_t got = Take(raw, sizeof raw);
    LlmMesh& m = m_mesh;
    std::memcpy(m.header.data(), raw, m.header.size());
    m.hasWeights = raw[24];
    m.hasDetailTexCoords = raw[25];
    std::memcpy(&m.position, raw + 26, sizeof m.position);
    std::memcpy(&m.rotation, raw + 38, sizeof m.rotation);
    m.rotationOrder = raw[50];
    std::memcpy(&m.scale, raw + 51, sizeof m.scale);
    if (got < sizeof raw) return Cut(LlmSection::kHeader, sizeof raw, got, 1, got);
    m.numVertices = static_cast<std::uint16_t>(raw[63] | raw[64] << 8);
    return true;
  }

  bool ReadVertices() {
    LlmMesh& m = m_mesh;
    const std::size_t n = m.numVertices;
    std::uint64_t perVertex = 3 * sizeof(Vec3) + sizeof(Vec2);
    if (m.hasDetailTexCoords != 0) perVertex += sizeof(Vec2);
    if (m.hasWeights != 0) perVertex += sizeof(VertexWeight);
    const std::uint64_t need = perVertex * n;

    // Refused before anything is allocated when the input cannot hold the arrays.
    std::uint64_t got = std::min(need, m_in.Remaining());
    if (got == need) {
      got = TakeArray(m.coords, n) + TakeArray(m.normals, n) + TakeArray(m.binormals, n) +
            TakeArray(m.texCoords, n);
      // The detail texture coordinates come before the weights.
      if (m.hasDetailTexCoords != 0) got += TakeArray(m.detailTexCoords, n);
      if (m.hasWeights != 0) got += TakeArray(m.weights, n);
    }
    if (got < need) {
      // Nothing of the vertex arrays is kept: without them the record holds no vertices.
      m.numVertices = 0;
      m.coords = {};
      m.normals = {};
      m.binormals = {};
      m.texCoords = {};
      m.detailTexCoords = {};
      m.weights = {};
      return Cut(LlmSection::kVertices, n, got / perVertex, perVertex, got);
    }
    m_report.nonFiniteVertexValues =
        NonFiniteFloats(m.coords) + NonFiniteFloats(m.normals) + NonFiniteFloats(m.texCoords);
    return true;
  }

  bool ReadFaces() {
    std::uint32_t declared = 0;
    std::size_t got = 0;
    if (!TakeCount<2>(declared, got)) return CutCount(LlmSection::kFaces, 2, got);
    constexpr std::uint64_t kFaceBytes = 3 * sizeof(std::uint16_t);
    const std::uint64_t need = kFaceBytes * declared;
    std::uint64_t bytes = std::min(need, m_in.Remaining());
    if (bytes == need) bytes = TakeArray(m_mesh.faces, std::size_t{declared} * 3);
    if (bytes < need) {
      m_mesh.faces.clear();
      return Cut(LlmSection::kFaces, declared, bytes / kFaceBytes, kFaceBytes, bytes);
    }
    m_mesh.numFaces = static_cast<std::uint16_t>(declared);
    return true;
  }

  // Joint names as far as the input holds them whole, each slot terminated by a zero of its own.
  bool ReadJoints() {
    std::uint32_t declared = 0;
    std::size_t got = 0;
    if (!TakeCount<2>(declared, got)) return CutCount(LlmSection::kJoints, 2, got);
    constexpr std::uint64_t kNameBytes = 64;
    const std::uint64_t held = std::min(kNameBytes * declared, m_in.Remaining());
    std::vector<NameSlot>& names = m_mesh.skinJointNames;
    names.assign(WholeLeft(declared, kNameBytes), NameSlot{});
    std::size_t whole = 0;
    while (whole < names.size() && Take(names[whole].data(), kNameBytes) == kNameBytes) ++whole;
    names.resize(whole);
    m_mesh.numSkinJoints = static_cast<std::uint16_t>(whole);
    if (whole < declared) return Cut(LlmSection::kJoints, declared, whole, kNameBytes, held);
    return true;
  }

  // Target blocks up to the end block, each target with the records the input holds whole and
  // usable.
  bool ReadMorphs() {
    std::vector<MorphTarget>& targets = m_mesh.morphTargets;
    NameSlot name{};
    for (;;) {
      const std::size_t got = Take(name.data(), 64);
      if (got < 64) return CutMorphSection(got);
      if (std::memcmp(name.data(), kEndMorphs, sizeof kEndMorphs) == 0) return true;
      if (targets.size() == LlmReadReport::kMaxMorphTargets) {
        m_report.tooManyTargets = true;
        return CutMorphSection(got);
      }
      MorphTarget& target = targets.emplace_back();
      target.name = name;
      if (!ReadRecords(target)) {
        m_report.cutTarget = targets.size() - 1;
        return false;
      }
    }
  }

  // A morph section that ends without its end block, after `got` bytes of a further block.
  bool CutMorphSection(std::size_t got) {
    const std::size_t targets = m_mesh.morphTargets.size();
    Cut(LlmSection::kMorphs, 0, targets, 0, got);
    m_report.countWhole = false;
    m_report.declaredBytes = 64;
    m_report.cutTarget = targets;
    return false;
  }

  // A signed 32-bit count of `section`, where a negative value means none; false, with the cut
  // noted, when the input ends inside it.
  bool TakeSignedCount(LlmSection section, std::uint64_t& count) {
    std::uint32_t raw = 0;
    std::size_t got = 0;
    if (!TakeCount<4>(raw, got)) return CutCount(section, 4, got);
    const auto declared = static_cast<std::int32_t>(raw);
    count = declared > 0 ? static_cast<std::uint64_t>(declared) : 0;
    return true;
  }

  bool ReadRecords(MorphTarget& target) {
    std::uint64_t count = 0;
    if (!TakeSignedCount(LlmSection::kMorphs, count)) return false;
    constexpr std::uint64_t kRecordBytes = sizeof(MorphVertex);
    const std::uint64_t held = std::min(kRecordBytes * count, m_in.Remaining());
    // Read in blocks that are still in the cache when they are checked; the usable records move
    // up over the ones left out.
    MorphRecords& records = target.vertices;
    MakeRoom(records, WholeLeft(count, kRecordBytes));
    std::size_t whole = 0;
    std::size_t kept = 0;
    while (whole < records.size()) {
      const std::size_t block = std::min(kRecordsPerBlock, records.size() - whole);
      const std::size_t read = Take(records.data() + whole, block * kRecordBytes) / kRecordBytes;
      if (!AnyNonFiniteDelta(records.data() + whole, read) && kept == whole) {
        kept += read;
        whole += read;
      } else {
        for (const std::size_t end = whole + read; whole < end; ++whole) {
          if (AnyNonFiniteDelta(&records[whole], 1)) continue;
          if (kept != whole) records[kept] = records[whole];
          ++kept;
        }
      }
      if (read < block) break;
    }
    records.resize(kept);
    m_report.skippedMorphRecords += whole - kept;
    target.numVertices = static_cast<std::int32_t>(records.size());
    if (whole < count) return Cut(LlmSection::kMorphs, count, whole, kRecordBytes, held);
    return true;
  }

  bool ReadRemaps() {
    std::uint64_t count = 0;
    if (!TakeSignedCount(LlmSection::kRemaps, count)) return false;
    constexpr std::uint64_t kRemapBytes = sizeof(VertexRemap);
    const std::uint64_t held = std::min(kRemapBytes * count, m_in.Remaining());
    const std::size_t whole = TakeArray(m_mesh.remaps, WholeLeft(count, kRemapBytes)) / kRemapBytes;
    m_mesh.remaps.resize(whole);
    m_mesh.numRemaps = static_cast<std::int32_t>(whole);
    if (whole < count) return Cut(LlmSection::kRemaps, count, whole, kRemapBytes, held);
    return true;
  }

  Reader& m_in;
  LlmMesh& m_mesh;
  LlmReadReport& m_report;
};

}  // namespace tovmar
