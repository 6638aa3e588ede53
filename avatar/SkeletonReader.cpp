#include "avatar/SkeletonReader.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <unordered_set>
#include <vector>

#include "appearance/XmlAttributeLimits.h"
#include "appearance/XmlParseOptions.h"
#include "base/FileBytes.h"

namespace tovmar {

namespace {

// The largest offset (metres) and angle (degrees) a bone may give, and the range of the size of
// a scale factor: far beyond any avatar, near enough to keep every product finite.
constexpr float kMaxOffset = 1000.0f;
constexpr float kMaxDegrees = 3600.0f;
constexpr float kMinScale = 1e-3f;
constexpr float kMaxScale = 1e3f;
// How far from the avatar's origin a bone may end up, and the range of the factor by which the
// bones above it scale a volume.
constexpr float kMaxPlacement = 1e4f;
constexpr double kMinVolumeScale = 1e-9;
constexpr double kMaxVolumeScale = 1e9;

struct DocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

std::string_view Chars(const xmlChar* text) {
  return text != nullptr ? std::string_view(reinterpret_cast<const char*>(text)) : "";
}

bool IsElement(const xmlNode* node, std::string_view name) {
  return node->type == XML_ELEMENT_NODE && node->ns == nullptr && Chars(node->name) == name;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A failure while reading: the reason, completed into a sentence naming the file at the top.
struct ReadFailure {
  std::string reason;
};

class BoneWalker {
 public:
  explicit BoneWalker(SkeletonReadResult& result) : m_result(result) {}

  // Reads the bones below `parentNode` as children of bone `parent`, `depth` levels down.
  void ReadChildren(const xmlNode* parentNode, std::int32_t parent, int depth) {
    for (const xmlNode* node = parentNode->children; node != nullptr; node = node->next) {
      if (IsElement(node, "collision_volume")) {
        ++m_result.collisionVolumes;
      } else if (IsElement(node, "bone")) {
        if (depth >= kMaxSkeletonDepth) {
          throw ReadFailure{"nests bones more than " + std::to_string(kMaxSkeletonDepth) + " deep" +
                            LineOf(node)};
        }
        if (m_result.skeleton.bones.size() >= kMaxSkeletonBones) {
          throw ReadFailure{"holds more than " + std::to_string(kMaxSkeletonBones) + " bones"};
        }
        const std::int32_t index = ReadBone(node, parent);
        ReadChildren(node, index, depth + 1);
      }
      // Anything else (text, comments, elements of other names) is not part of the skeleton.
    }
  }

 private:
  static std::string LineOf(const xmlNode* node) {
    return " (line " + std::to_string(xmlGetLineNo(node)) + ")";
  }

  // The attribute's text; entity references in it contribute nothing, so none is expanded.
  static std::optional<std::string> Attribute(const xmlNode* element, std::string_view name) {
    for (const xmlAttr* attr = element->properties; attr != nullptr; attr = attr->next) {
      if (attr->ns != nullptr || Chars(attr->name) != name) continue;
      std::string value;
      for (const xmlNode* part = attr->children; part != nullptr; part = part->next) {
        if (part->type == XML_TEXT_NODE) value += Chars(part->content);
      }
      return value;
    }
    return std::nullopt;
  }

  static void CheckAttributeLengths(const xmlNode* element) {
    for (const xmlAttr* attr = element->properties; attr != nullptr; attr = attr->next) {
      std::size_t length = 0;
      for (const xmlNode* part = attr->children; part != nullptr; part = part->next) {
        if (part->type == XML_TEXT_NODE) length += Chars(part->content).size();
      }
      if (length > kMaxSkeletonAttributeBytes) {
        throw ReadFailure{"has a " + std::string(Chars(attr->name)) + " attribute longer than " +
                          std::to_string(kMaxSkeletonAttributeBytes) + " bytes" + LineOf(element)};
      }
    }
  }

  // Three numbers separated by white space, each written in full as the "C" locale writes them
  // (a point for the decimal point), finite and within [-limit, limit].
  static Vec3 ReadVector(const xmlNode* element, std::string_view name, const Vec3& fallback,
                         float limit) {
    const std::optional<std::string> text = Attribute(element, name);
    if (!text) return fallback;
    float values[3] = {};
    const char* p = text->data();
    const char* const end = p + text->size();
    int count = 0;
    while (true) {
      while (p != end && IsSpace(*p)) ++p;
      if (p == end) break;
      const char* tokenEnd = p;
      while (tokenEnd != end && !IsSpace(*tokenEnd)) ++tokenEnd;
      const char* numberStart = p != tokenEnd && *p == '+' ? p + 1 : p;
      float value = 0.0f;
      const auto [stop, error] = std::from_chars(numberStart, tokenEnd, value);
      if (count == 3 || error != std::errc() || stop != tokenEnd || !std::isfinite(value) ||
          std::abs(value) > limit) {
        throw ReadFailure{"has a " + std::string(name) + " that is not three numbers from " +
                          FormatLimit(-limit) + " to " + FormatLimit(limit) + ": \"" + *text +
                          "\"" + LineOf(element)};
      }
      values[count++] = value;
      p = tokenEnd;
    }
    if (count != 3) {
      throw ReadFailure{"has a " + std::string(name) + " that is not three numbers: \"" + *text +
                        "\"" + LineOf(element)};
    }
    return {values[0], values[1], values[2]};
  }

  static std::string FormatLimit(float limit) {
    return std::to_string(static_cast<long long>(limit));
  }

  std::int32_t ReadBone(const xmlNode* element, std::int32_t parent) {
    CheckAttributeLengths(element);
    Bone bone;
    bone.parent = parent;
    const std::optional<std::string> name = Attribute(element, "name");
    if (!name || name->empty()) throw ReadFailure{"has a bone without a name" + LineOf(element)};
    if (!m_names.insert(*name).second) {
      throw ReadFailure{"names two bones \"" + *name + "\"" + LineOf(element)};
    }
    bone.name = *name;
    bone.pos = ReadVector(element, "pos", {}, kMaxOffset);
    bone.rot = ReadVector(element, "rot", {}, kMaxDegrees);
    bone.scale = ReadVector(element, "scale", {1.0f, 1.0f, 1.0f}, kMaxScale);
    for (const float s : {bone.scale.x, bone.scale.y, bone.scale.z}) {
      if (std::abs(s) < kMinScale) {
        throw ReadFailure{"gives the bone \"" + bone.name + "\" a scale of nearly zero" +
                          LineOf(element)};
      }
    }
    bone.pivot = ReadVector(element, "pivot", {}, kMaxOffset);
    bone.aliases = Attribute(element, "aliases").value_or("");
    bone.group = Attribute(element, "group").value_or("");
    bone.support = Attribute(element, "support").value_or("") == "extended";
    m_result.skeleton.bones.push_back(std::move(bone));
    return static_cast<std::int32_t>(m_result.skeleton.bones.size() - 1);
  }

  SkeletonReadResult& m_result;
  std::unordered_set<std::string> m_names;
};

void InitXmlOnce() {
  static const bool initialised = (xmlInitParser(), true);
  static_cast<void>(initialised);
}

// Each value is within range on its own, but scales and offsets multiply down a chain of bones:
// every bone must still end up near the avatar, at a finite size that can be undone (the skin's
// inverse bind matrices undo it).
void CheckGlobalTransforms(const Skeleton& skeleton) {
  const std::vector<Mat4> global = skeleton.GlobalTransforms();
  for (std::size_t i = 0; i < global.size(); ++i) {
    const Vec3 t = global[i].TranslationPart();
    const double det = LinearDeterminant(global[i]);
    const bool finite = std::all_of(global[i].m.begin(), global[i].m.end(),
                                    [](float v) { return std::isfinite(v); });
    if (!finite || std::abs(t.x) > kMaxPlacement || std::abs(t.y) > kMaxPlacement ||
        std::abs(t.z) > kMaxPlacement || !(std::abs(det) >= kMinVolumeScale) ||
        !(std::abs(det) <= kMaxVolumeScale)) {
      throw ReadFailure{"places the bone \"" + skeleton.bones[i].name +
                        "\" out of range: its offsets or scales add up too far"};
    }
  }
}

void ReadDocument(std::string_view xml, SkeletonReadResult& result) {
  InitXmlOnce();
  if (xml.size() > kMaxSkeletonFileBytes) {
    throw ReadFailure{"is larger than " + std::to_string(kMaxSkeletonFileBytes / (1024 * 1024)) +
                      " MB"};
  }
  const DocPtr doc(ParseWithAttributeLimits(xml, kAppearanceXmlParseOptions));
  if (!doc) throw ReadFailure{"is not well-formed XML"};
  const xmlNode* root = xmlDocGetRootElement(doc.get());
  if (root == nullptr || !IsElement(root, "linden_skeleton")) {
    throw ReadFailure{"is not a skeleton: its top element is not linden_skeleton"};
  }
  BoneWalker(result).ReadChildren(root, -1, 0);
  if (result.skeleton.bones.empty()) throw ReadFailure{"holds no bone"};
  CheckGlobalTransforms(result.skeleton);
}

}  // namespace

SkeletonReadResult ReadSkeletonFromMemory(std::string_view xml, const std::string& name) {
  SkeletonReadResult result;
  try {
    ReadDocument(xml, result);
    result.ok = true;
  } catch (const ReadFailure& failure) {
    result = SkeletonReadResult();
    result.error = "The skeleton file " + name + " " + failure.reason + ".";
  }
  return result;
}

SkeletonReadResult ReadSkeletonFile(const std::string& path) {
  // A folder, pipe or device is refused before it is opened: a pipe could keep the read waiting.
  std::error_code ec;
  const std::filesystem::path file = PathFromUtf8(path);
  if (std::filesystem::exists(file, ec) && !std::filesystem::is_regular_file(file, ec)) {
    SkeletonReadResult result;
    result.error = "The skeleton file " + path + " is not a regular file.";
    return result;
  }
  std::string bytes;
  switch (ReadWholeFile(path, bytes, kMaxSkeletonFileBytes)) {
    case FileReadStatus::kOk:
      return ReadSkeletonFromMemory(bytes, path);
    case FileReadStatus::kCannotOpen: {
      SkeletonReadResult result;
      result.error = "The skeleton file " + path + " cannot be opened.";
      return result;
    }
    case FileReadStatus::kReadError: {
      SkeletonReadResult result;
      result.error = "The skeleton file " + path + " cannot be read.";
      return result;
    }
    case FileReadStatus::kTooLarge:
      break;
  }
  SkeletonReadResult result;
  result.error = "The skeleton file " + path + " is larger than " +
                 std::to_string(kMaxSkeletonFileBytes / (1024 * 1024)) + " MB.";
  return result;
}

}  // namespace tovmar
