// tovmar-cli with --avatar on a character folder made from the real skeleton, lower body, eye
// and eyelashes: the glTF read back and validated, the picture, info and the refusals.
#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "cli/ReadMeshFile.h"
#include "tests/cli/CliTestPaths.h"
#include "tests/support/DrawnPictures.h"
#include "tests/support/RunProcess.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {
namespace {

namespace fs = std::filesystem;

// A 4x4 matrix, column-major as glTF stores it.
using Matrix = std::array<double, 16>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix c{};
  for (int col = 0; col < 4; ++col) {
    for (int row = 0; row < 4; ++row) {
      for (int k = 0; k < 4; ++k) c[col * 4 + row] += a[k * 4 + row] * b[col * 4 + k];
    }
  }
  return c;
}

Matrix NodeMatrix(const tinygltf::Node& node) {
  const std::vector<double> t =
      node.translation.empty() ? std::vector<double>{0, 0, 0} : node.translation;
  const std::vector<double> q =
      node.rotation.empty() ? std::vector<double>{0, 0, 0, 1} : node.rotation;
  const std::vector<double> s = node.scale.empty() ? std::vector<double>{1, 1, 1} : node.scale;
  const double x = q[0], y = q[1], z = q[2], w = q[3];
  const double r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                          {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                          {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
  Matrix m{};
  for (int col = 0; col < 3; ++col) {
    for (int row = 0; row < 3; ++row) m[col * 4 + row] = r[row][col] * s[col];
    m[12 + col] = t[col];
  }
  m[15] = 1;
  return m;
}

// Every node's world matrix.
std::vector<Matrix> WorldMatrices(const tinygltf::Model& model) {
  std::vector<int> parent(model.nodes.size(), -1);
  for (std::size_t n = 0; n < model.nodes.size(); ++n) {
    for (const int child : model.nodes[n].children)
      parent[static_cast<std::size_t>(child)] = int(n);
  }
  std::vector<Matrix> world(model.nodes.size());
  for (std::size_t n = 0; n < model.nodes.size(); ++n) {
    world[n] = NodeMatrix(model.nodes[n]);
    for (int p = parent[n]; p >= 0; p = parent[static_cast<std::size_t>(p)]) {
      world[n] = Multiply(NodeMatrix(model.nodes[static_cast<std::size_t>(p)]), world[n]);
    }
  }
  return world;
}

// The bytes of an accessor's elements, tightly packed.
std::vector<unsigned char> AccessorBytes(const tinygltf::Model& m, int index) {
  const tinygltf::Accessor& a = m.accessors.at(static_cast<std::size_t>(index));
  const tinygltf::BufferView& view = m.bufferViews.at(static_cast<std::size_t>(a.bufferView));
  const std::size_t size =
      static_cast<std::size_t>(
          tinygltf::GetComponentSizeInBytes(static_cast<std::uint32_t>(a.componentType))) *
      static_cast<std::size_t>(
          tinygltf::GetNumComponentsInType(static_cast<std::uint32_t>(a.type)));
  const auto stride = static_cast<std::size_t>(a.ByteStride(view));
  const std::vector<unsigned char>& data = m.buffers.at(0).data;
  std::vector<unsigned char> out;
  for (std::size_t i = 0; i < a.count; ++i) {
    const std::size_t at = view.byteOffset + a.byteOffset + i * stride;
    EXPECT_LE(at + size, data.size());
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + size));
  }
  return out;
}

template <class T>
std::vector<T> Values(const tinygltf::Model& m, int index) {
  const std::vector<unsigned char> bytes = AccessorBytes(m, index);
  std::vector<T> out(bytes.size() / sizeof(T));
  std::memcpy(out.data(), bytes.data(), out.size() * sizeof(T));
  return out;
}

// The bone names of a skeleton file, in document order, read by pattern.
std::vector<std::string> BoneNames(const std::string& path) {
  const std::string text = ReadFileText(path);
  const std::regex bone("<bone [^>]*?\\bname=\"([^\"]*)\"");
  std::vector<std::string> names;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), bone); it != std::sregex_iterator();
       ++it) {
    names.push_back((*it)[1]);
  }
  return names;
}

class CliAvatar : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"avatar_skeleton.xml", "avatar_lower_body.llm", "avatar_eye.llm",
                             "avatar_eyelashes.llm"}) {
      const std::string real = RealMeshPath(name);
      if (real.empty()) GTEST_SKIP() << "the real character files are absent";
      fs::create_directories(m_folder.Path() / "character");
      fs::copy_file(real, m_folder.Path() / "character" / name);
    }
    // A level-of-detail file is no part.
    fs::copy_file(m_folder.Path() / "character" / "avatar_eyelashes.llm",
                  m_folder.Path() / "character" / "avatar_eyelashes_1.llm");
    m_character = (m_folder.Path() / "character").string();
  }

  // Hair without a skin: a square at head height, with a target named as one of the lower
  // body's, so that one --weight shapes both.
  void AddHair() {
    LlmMesh hair = MakeFacingQuad();
    for (Vec3& p : hair.coords) p += Vec3{0.1f, 0.0f, 1.8f};
    MorphVertex record;
    record.vertexIndex = 3;
    record.coordDelta = {0.0f, 0.0f, 0.1f};
    MorphRecords records;
    records.push_back(record);
    hair.morphTargets.push_back(MakeMorphTarget("Bowed_Legs", records));
    hair.morphTargets.back().numVertices = 1;
    ASSERT_TRUE(WriteFileBytes(Part("avatar_hair.llm"), WriteLlm(hair)));
  }

  std::string Part(const std::string& name) const {
    return (fs::path(m_character) / name).string();
  }

  std::string WriteTexture(const std::string& name, std::uint8_t r, std::uint8_t g,
                           std::uint8_t b) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 16; ++i) rgb.insert(rgb.end(), {r, g, b});
    const std::string path = m_folder.File(name);
    EXPECT_TRUE(WritePng(path, rgb, 4, 4));
    return path;
  }

  ProcessResult Run(std::vector<std::string> args) { return RunProcess(kCliPath, args); }

  tinygltf::Model ExportAndRead(std::vector<std::string> extra, const std::string& out) {
    std::vector<std::string> args = {"export-gltf", "--avatar", m_character, "-o", out};
    args.insert(args.end(), extra.begin(), extra.end());
    const ProcessResult r = Run(args);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    tinygltf::Model model;
    tinygltf::TinyGLTF reader;
    std::string error, warning;
    EXPECT_TRUE(reader.LoadBinaryFromFile(&model, &error, &warning, out)) << error;
    return model;
  }

  TempFolder m_folder;
  std::string m_character;
};

const tinygltf::Mesh& MeshNamed(const tinygltf::Model& model, const std::string& name) {
  for (const tinygltf::Mesh& mesh : model.meshes) {
    if (mesh.name == name) return mesh;
  }
  ADD_FAILURE() << "no mesh " << name;
  return model.meshes.at(0);
}

TEST_F(CliAvatar, GltfHoldsTheSkeletonTheSkinAndEveryPartInPlace) {
  AddHair();
  const tinygltf::Model model =
      ExportAndRead({"--part-texture", "lower_body=" + WriteTexture("red.png", 255, 0, 0),
                     "--weight", "bowed_legs=0.5"},
                    m_folder.File("avatar.glb"));
  ASSERT_EQ(model.skins.size(), 1u);
  const tinygltf::Skin& skin = model.skins[0];

  // The joints are the skeleton's bones, by name and in order.
  const std::vector<std::string> bones = BoneNames(Part("avatar_skeleton.xml"));
  ASSERT_EQ(bones.size(), 133u);
  ASSERT_EQ(skin.joints.size(), bones.size());
  for (std::size_t j = 0; j < bones.size(); ++j) {
    EXPECT_EQ(model.nodes.at(static_cast<std::size_t>(skin.joints[j])).name, bones[j]);
  }

  // A mesh per part with a material of its name; only the lower body wears a texture; one
  // --weight reaches every part that has the target.
  ASSERT_EQ(model.meshes.size(), 4u);
  for (const tinygltf::Mesh& mesh : model.meshes) {
    const auto& material =
        model.materials.at(static_cast<std::size_t>(mesh.primitives[0].material));
    EXPECT_EQ(material.name, mesh.name);
    EXPECT_EQ(material.pbrMetallicRoughness.baseColorTexture.index >= 0, mesh.name == "lower_body")
        << mesh.name;
  }
  EXPECT_EQ(MeshNamed(model, "hair").weights, std::vector<double>{0.5});
  const tinygltf::Mesh& lower = MeshNamed(model, "lower_body");
  const auto& targetNames = lower.extras.Get("targetNames");
  for (std::size_t t = 0; t < lower.weights.size(); ++t) {
    EXPECT_EQ(lower.weights[t],
              targetNames.Get(static_cast<int>(t)).Get<std::string>() == "Bowed_Legs" ? 0.5 : 0.0);
  }

  // Each skinned vertex: joints within the skin, weights adding to 1, and in the bind pose the
  // joints' world matrices times their inverse bind matrices leave it where the file puts it.
  const std::vector<Matrix> world = WorldMatrices(model);
  const std::vector<float> inverseBind = Values<float>(model, skin.inverseBindMatrices);
  ASSERT_EQ(inverseBind.size(), 16 * bones.size());
  for (const char* name : {"lower_body", "eyelashes"}) {
    const tinygltf::Primitive& primitive = MeshNamed(model, name).primitives[0];
    ASSERT_TRUE(primitive.attributes.contains("JOINTS_0")) << name;
    const auto joints = Values<std::uint8_t>(model, primitive.attributes.at("JOINTS_0"));
    const auto weights = Values<float>(model, primitive.attributes.at("WEIGHTS_0"));
    const auto positions = Values<float>(model, primitive.attributes.at("POSITION"));
    ASSERT_EQ(joints.size(), weights.size());
    ASSERT_EQ(joints.size() / 4 * 3, positions.size());
    for (std::size_t v = 0; v < joints.size() / 4; ++v) {
      const float* p = &positions[v * 3];
      double sum = 0, skinned[3] = {0, 0, 0};
      for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t joint = joints[v * 4 + k];
        ASSERT_LT(joint, skin.joints.size());
        const double w = weights[v * 4 + k];
        sum += w;
        Matrix ibm;
        std::copy_n(&inverseBind[joint * 16], 16, ibm.begin());
        const Matrix m = Multiply(world[static_cast<std::size_t>(skin.joints[joint])], ibm);
        for (std::size_t r = 0; r < 3; ++r) {
          skinned[r] += w * (m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r]);
        }
      }
      EXPECT_NEAR(sum, 1.0, 1e-3) << name << " vertex " << v;
      for (std::size_t r = 0; r < 3; ++r) EXPECT_NEAR(skinned[r], p[r], 1e-4) << name << v;
    }
  }

  // The lower body's vertices are the file's, turned to glTF's axes.
  const LlmMesh file = cli::ReadMeshFile(Part("avatar_lower_body.llm"));
  const auto lowerPositions = Values<Vec3>(model, lower.primitives[0].attributes.at("POSITION"));
  ASSERT_EQ(lowerPositions.size(), 977u);
  for (std::size_t v = 0; v < lowerPositions.size(); ++v) {
    const Vec3& f = file.coords[v];
    EXPECT_EQ(lowerPositions[v], (Vec3{f.y, f.z, f.x})) << v;
  }

  // Both eyeballs hang under their eye joints, which stand where the skeleton puts the eyes.
  int eyes = 0;
  for (std::size_t n = 0; n < model.nodes.size(); ++n) {
    const tinygltf::Node& node = model.nodes[n];
    if (node.mesh < 0 || model.meshes[static_cast<std::size_t>(node.mesh)].name != "eyes") continue;
    ++eyes;
    const double side = node.name.find("Left") != std::string::npos ? 1.0 : -1.0;
    const std::array<double, 3> expected = {0.036 * side, 1.762, 0.073};
    for (std::size_t r = 0; r < 3; ++r)
      EXPECT_NEAR(world[n][12 + r], expected[r], 0.005) << node.name;
  }
  EXPECT_EQ(eyes, 2);
}

// Blender's glTF importer as a modelling tool meets the file: an armature of the skeleton's
// bones, the lower body bound to it by vertex groups named by joint, the eyes on their bones.
TEST_F(CliAvatar, BlenderImportsAnArmatureWithVertexGroups) {
  const fs::path blender = TOVMAR_BLENDER_PATH;
  if (blender.empty() || !fs::exists(blender)) GTEST_SKIP() << "blender is not installed";
  const std::string glb = m_folder.File("avatar.glb");
  ExportAndRead({}, glb);
  // The importer of Debian's Blender still asks numpy for an alias that numpy has dropped.
  const std::string script = m_folder.File("import.py");
  ASSERT_TRUE(WriteFileBytes(script, R"(import sys
try:
    import numpy
except ImportError:
    print("NO NUMPY")
    sys.exit(0)
numpy.bool = bool
import bpy
bpy.ops.wm.read_factory_settings(use_empty=True)
bpy.ops.import_scene.gltf(filepath=sys.argv[sys.argv.index("--") + 1])
for o in bpy.data.objects:
    if o.type == "ARMATURE":
        print("ARMATURE", " ".join(b.name for b in o.data.bones))
    elif o.type == "MESH":
        used = sorted({o.vertex_groups[g.group].name for v in o.data.vertices for g in v.groups
                       if g.weight > 0})
        print("MESH", o.name, o.parent_bone or "-", " ".join(used))
)"));
  // Blender runs its own Python with the system's packages: a version manager's PATH would hide
  // them.
  const ProcessResult r =
      RunProcess("/usr/bin/env",
                 {"-i", "PATH=" + blender.parent_path().string() + ":/usr/bin:/bin",
                  "HOME=" + m_folder.Path().string(), blender.string(), "-b", "--factory-startup",
                  "--python-exit-code", "1", "--python", script, "--", glb});
  if (r.out.find("NO NUMPY\n") != std::string::npos) {
    GTEST_SKIP() << "Blender's glTF importer needs numpy (python3-numpy)";
  }
  ASSERT_EQ(r.exitStatus, 0) << r.out << r.err;
  std::vector<std::string> armatures, meshes;
  for (const std::string& line : SplitLines(r.out)) {
    if (line.starts_with("ARMATURE ")) armatures.push_back(line.substr(9));
    if (line.starts_with("MESH ")) meshes.push_back(line.substr(5));
  }
  std::string bones;
  for (const std::string& name : BoneNames(Part("avatar_skeleton.xml"))) {
    bones += (bones.empty() ? "" : " ") + name;
  }
  ASSERT_EQ(armatures.size(), 1u) << r.out << r.err;
  EXPECT_EQ(armatures[0], bones);
  std::sort(meshes.begin(), meshes.end());
  EXPECT_EQ(meshes, (std::vector<std::string>{
                        "eyelashes - mHead",
                        "eyes_mEyeLeft mEyeLeft ",
                        "eyes_mEyeRight mEyeRight ",
                        "lower_body - mAnkleLeft mAnkleRight mHipLeft mHipRight mKneeLeft "
                        "mKneeRight mPelvis",
                    }))
      << r.out;
}

TEST_F(CliAvatar, GltfPassesTheKhronosValidator) {
  const fs::path tools = TOVMAR_NODE_TOOLS_DIR;
  if (!fs::exists(TOVMAR_NODE_PATH) || !fs::exists(tools / "node_modules" / "gltf-validator")) {
    GTEST_SKIP() << "node or the gltf-validator package is not installed";
  }
  AddHair();
  const std::string out = m_folder.File("avatar.glb");
  ExportAndRead({"--part-texture", "eyes=" + WriteTexture("white.png", 255, 255, 255),
                 "--part-texture", "hair=" + WriteTexture("brown.png", 90, 60, 30)},
                out);
  const ProcessResult report =
      RunProcess(TOVMAR_NODE_PATH, {(tools / "validate.js").string(), out});
  EXPECT_EQ(report.exitStatus, 0) << report.out << report.err;
  EXPECT_NE(report.out.find("\"errors\":0,\"warnings\":0"), std::string::npos) << report.out;
}

TEST_F(CliAvatar, RenderDrawsTheWholeStandingFigure) {
  const std::string out = m_folder.File("avatar.png");
  const ProcessResult r = Run({"render", "--avatar", m_character, "--part-texture",
                               "lower_body=" + WriteTexture("red.png", 255, 0, 0), "-o", out});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const Picture picture = ReadPicture(out);
  ASSERT_EQ(picture.width, 512);
  const Box box = DrawnBox(picture);
  ASSERT_FALSE(box.empty());
  // Framed whole: tall and narrow, with room at every side.
  EXPECT_GT(box.Height(), 3 * box.Width());
  EXPECT_GT(box.Height(), 400);
  EXPECT_GT(box.top, 0);
  EXPECT_LT(box.bottom, picture.height - 1);
  // The eyes at the top, then nothing down to the waist, then the red legs.
  int gap = 0;
  for (int y = box.top; y <= box.bottom; ++y) {
    int drawn = 0;
    for (int x = 0; x < picture.width; ++x) drawn += picture.IsBackground(x, y) ? 0 : 1;
    gap += drawn == 0 ? 1 : 0;
  }
  EXPECT_GT(gap, box.Height() / 4) << "the eyes sit far above the lower body";
  int red = 0;
  for (int y = box.bottom - box.Height() / 3; y < box.bottom; ++y) {
    for (int x = box.left; x <= box.right; ++x) {
      const Rgb c = picture.At(x, y);
      red += c[0] > c[1] + 40 && c[0] > c[2] + 40 ? 1 : 0;
    }
  }
  EXPECT_GT(red, 500) << "the lower body wears its texture";
}

TEST_F(CliAvatar, InfoListsThePartsAndTheSkeleton) {
  const ProcessResult text = Run({"info", "--avatar", m_character});
  ASSERT_EQ(text.exitStatus, 0) << text.err;
  EXPECT_NE(text.out.find("Skeleton bones:         133\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Parts:                  3\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("      977       24      1  lower_body  avatar_lower_body.llm\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("      145        0      2  eyes        avatar_eye.llm\n"),
            std::string::npos)
      << text.out;

  const ProcessResult json = Run({"info", "--avatar", m_character, "--json"});
  ASSERT_EQ(json.exitStatus, 0) << json.err;
  EXPECT_NE(json.out.find("\"bones\": 133"), std::string::npos);
  EXPECT_NE(json.out.find("{\"name\": \"eyelashes\", \"file\": \"avatar_eyelashes.llm\", "
                          "\"vertices\": 48"),
            std::string::npos)
      << json.out;
  EXPECT_EQ(json.out.find("avatar_eyelashes_1"), std::string::npos) << json.out;

  // Each command's help shows the avatar form as a usage line of its own.
  for (const char* command : {"info", "render", "export-gltf"}) {
    const ProcessResult help = Run({command, "--help"});
    EXPECT_NE(help.out.find("\n       tovmar-cli " + std::string(command) + " --avatar DIR "),
              std::string::npos)
        << help.out;
  }
}

TEST_F(CliAvatar, RefusalsSayWhatIsWrong) {
  const std::string texture = WriteTexture("grey.png", 128, 128, 128);
  const fs::path broken = m_folder.Path() / "broken";
  fs::create_directories(broken);
  fs::copy_file(Part("avatar_lower_body.llm"), broken / "avatar_lower_body.llm");
  ASSERT_TRUE(WriteFileBytes((broken / "avatar_skeleton.xml").string(),
                             "<linden_skeleton><bone name=\"mPelvis\" pos=\"0 0 nan\"/>"));
  const struct {
    const char* what;
    std::vector<std::string> args;
    std::string error;
  } kCases[] = {
      {"unknown part",
       {"--avatar", m_character, "--part-texture", "nose=" + texture},
       "unknown part 'nose' in --part-texture"},
      {"part not in the folder",
       {"--avatar", m_character, "--part-texture", "head=" + texture},
       "the avatar has no part 'head' (no avatar_head.llm in"},
      {"skirt not asked for",
       {"--avatar", m_character, "--part-texture", "skirt=" + texture},
       "the skirt needs --with-skirt"},
      {"part texture without image",
       {"--avatar", m_character, "--part-texture", "eyes="},
       "needs an image"},
      {"not a folder", {"--avatar", m_folder.File("nowhere")}, "is not a character folder"},
      {"bad skeleton", {"--avatar", broken.string()}, "avatar_skeleton.xml"},
      {"avatar and a mesh file",
       {Part("avatar_eye.llm"), "--avatar", m_character},
       "--avatar DIR and mesh files cannot be given together"},
      {"avatar option alone",
       {Part("avatar_eye.llm"), "--with-skirt"},
       "--with-skirt needs --avatar"},
      {"weight of no part",
       {"--avatar", m_character, "--weight", "Nowhere=1"},
       "no morph target named 'Nowhere'"},
      {"texture for one mesh",
       {"--avatar", m_character, "--texture", texture},
       "--texture cannot be used with --avatar"},
      {"output is a part",
       {"--avatar", m_character, "-o", Part("avatar_eye.llm")},
       "it is the input file"},
  };
  for (const auto& c : kCases) {
    for (const char* command : {"render", "export-gltf"}) {
      std::vector<std::string> args = {command};
      args.insert(args.end(), c.args.begin(), c.args.end());
      const std::string out = m_folder.File(std::string(command) + ".out");
      if (std::find(args.begin(), args.end(), "-o") == args.end())
        args.insert(args.end(), {"-o", out});
      const ProcessResult r = Run(args);
      EXPECT_EQ(r.exitStatus, 2) << c.what << " " << command;
      EXPECT_NE(r.err.find(c.error), std::string::npos)
          << c.what << " " << command << ": " << r.err;
      EXPECT_FALSE(fs::exists(out)) << c.what;
    }
  }
  EXPECT_EQ(fs::file_size(Part("avatar_eye.llm")), 16011u);
}

}  // namespace
}  // namespace tovmar::test
