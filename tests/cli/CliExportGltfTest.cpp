// tovmar-cli export-gltf, run as a program; its files read back through tinygltf and checked
// by the Khronos glTF validator.
#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "tests/cli/CliTestPaths.h"
#include "tests/support/DrawnPictures.h"
#include "tests/support/FixtureMesh.h"
#include "tests/support/RunProcess.h"
#include "tools/LlmWriter.h"

namespace tovmar::test {
namespace {

std::string SampleFile(const std::string& name) {
  return (std::filesystem::path(TOVMAR_SAMPLE_DIR) / name).string();
}

tinygltf::Model ReadGlb(const std::string& path) {
  const std::string bytes = ReadFileText(path);
  tinygltf::Model model;
  tinygltf::TinyGLTF reader;
  std::string error, warning;
  EXPECT_TRUE(reader.LoadBinaryFromMemory(&model, &error, &warning,
                                          reinterpret_cast<const unsigned char*>(bytes.data()),
                                          static_cast<unsigned int>(bytes.size())))
      << error;
  return model;
}

// A JSON glTF file with what it names beside it.
tinygltf::Model ReadGltf(const std::string& path) {
  tinygltf::Model model;
  tinygltf::TinyGLTF reader;
  std::string error, warning;
  EXPECT_TRUE(reader.LoadASCIIFromFile(&model, &error, &warning, path)) << error;
  return model;
}

// The bytes of `count` elements of `size` bytes each, `stride` apart, from `offset` in `view`.
std::vector<unsigned char> ViewBytes(const tinygltf::Model& m, int viewIndex, std::size_t offset,
                                     std::size_t count, std::size_t size, std::size_t stride) {
  const tinygltf::BufferView& view = m.bufferViews.at(static_cast<std::size_t>(viewIndex));
  const std::vector<unsigned char>& data = m.buffers.at(static_cast<std::size_t>(view.buffer)).data;
  std::vector<unsigned char> out(count * size);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = view.byteOffset + offset + i * stride;
    EXPECT_LE(at + size, data.size());
    if (at + size <= data.size()) std::memcpy(&out[i * size], data.data() + at, size);
  }
  return out;
}

// The elements of a float accessor as Vec3 or Vec2 values: zeros without a view, then the values
// of its sparse part, when it has one, at their indices.
template <class Element>
std::vector<Element> Elements(const tinygltf::Model& m, int index) {
  const tinygltf::Accessor& a = m.accessors.at(static_cast<std::size_t>(index));
  EXPECT_EQ(a.componentType, TINYGLTF_COMPONENT_TYPE_FLOAT);
  std::vector<Element> out(a.count);
  if (a.bufferView >= 0) {
    const auto stride = static_cast<std::size_t>(
        a.ByteStride(m.bufferViews.at(static_cast<std::size_t>(a.bufferView))));
    const std::vector<unsigned char> bytes =
        ViewBytes(m, a.bufferView, a.byteOffset, a.count, sizeof(Element), stride);
    std::memcpy(out.data(), bytes.data(), bytes.size());
  }
  if (!a.sparse.isSparse) return out;
  const auto count = static_cast<std::size_t>(a.sparse.count);
  const int type = a.sparse.indices.componentType;
  const std::size_t size = type == TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE    ? 1
                           : type == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT ? 2
                                                                            : 4;
  const std::vector<unsigned char> indices =
      ViewBytes(m, a.sparse.indices.bufferView,
                static_cast<std::size_t>(a.sparse.indices.byteOffset), count, size, size);
  const std::vector<unsigned char> values =
      ViewBytes(m, a.sparse.values.bufferView, static_cast<std::size_t>(a.sparse.values.byteOffset),
                count, sizeof(Element), sizeof(Element));
  for (std::size_t k = 0; k < count; ++k) {
    std::uint32_t vertex = 0;
    std::memcpy(&vertex, &indices[k * size], size);
    EXPECT_LT(vertex, out.size());
    if (vertex < out.size())
      std::memcpy(&out[vertex], &values[k * sizeof(Element)], sizeof(Element));
  }
  return out;
}

std::vector<std::uint32_t> Indices(const tinygltf::Model& m, int index) {
  const tinygltf::Accessor& a = m.accessors.at(static_cast<std::size_t>(index));
  const tinygltf::BufferView& view = m.bufferViews.at(static_cast<std::size_t>(a.bufferView));
  const unsigned char* data =
      m.buffers.at(static_cast<std::size_t>(view.buffer)).data.data() + view.byteOffset;
  std::vector<std::uint32_t> out;
  for (std::size_t i = 0; i < a.count; ++i) {
    if (a.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT) {
      std::uint16_t v;
      std::memcpy(&v, data + i * 2, 2);
      out.push_back(v);
    } else {
      std::uint32_t v;
      std::memcpy(&v, data + i * 4, 4);
      out.push_back(v);
    }
  }
  return out;
}

// glTF's axes back to the file's: glTF (x, y, z) is the file's (y, z, x).
Vec3 FileAxes(const Vec3& g) {
  return {g.z, g.x, g.y};
}

// An attribute of a mesh's only primitive shaped by the mesh's default weights, in file axes.
std::vector<Vec3> Shaped(const tinygltf::Model& m, const tinygltf::Mesh& mesh,
                         const std::string& attribute) {
  const tinygltf::Primitive& primitive = mesh.primitives.at(0);
  std::vector<Vec3> values = Elements<Vec3>(m, primitive.attributes.at(attribute));
  for (std::size_t t = 0; t < primitive.targets.size(); ++t) {
    const std::vector<Vec3> offsets = Elements<Vec3>(m, primitive.targets[t].at(attribute));
    for (std::size_t i = 0; i < values.size(); ++i) {
      Vec3 moved = offsets[i];
      moved *= static_cast<float>(mesh.weights.at(t));
      values[i] += moved;
    }
  }
  for (Vec3& v : values) v = FileAxes(v);
  return values;
}

Vec3 Unit(const Vec3& v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return length > 0.0f ? Vec3{v.x / length, v.y / length, v.z / length} : v;
}

void ExpectNear(const Vec3& actual, const std::array<double, 3>& expected,
                const std::string& what) {
  const double tolerance =
      1e-5 * std::max({1.0, std::abs(expected[0]), std::abs(expected[1]), std::abs(expected[2])});
  EXPECT_NEAR(actual.x, expected[0], tolerance) << what;
  EXPECT_NEAR(actual.y, expected[1], tolerance) << what;
  EXPECT_NEAR(actual.z, expected[2], tolerance) << what;
}

// The fixture with normal offsets, two records of one target on one vertex and one record that
// names a vertex the mesh lacks.
LlmMesh MorphedFixture() {
  LlmMesh mesh = MakeFixtureMesh();
  mesh.morphTargets[0].vertices[0].normalDelta = {0, 0.5f, 0};
  MorphVertex again = mesh.morphTargets[0].vertices[0];
  again.coordDelta = {0, 0.05f, 0};
  mesh.morphTargets[0].vertices.push_back(again);
  MorphVertex outside = again;
  outside.vertexIndex = 7;
  mesh.morphTargets[2].vertices.push_back(outside);
  for (MorphTarget& t : mesh.morphTargets)
    t.numVertices = static_cast<std::int32_t>(t.vertices.size());
  return mesh;
}

class CliExportGltf : public testing::Test {
 protected:
  ProcessResult Export(std::vector<std::string> args, const std::string& out) {
    args.insert(args.begin(), "export-gltf");
    args.insert(args.end(), {"-o", out});
    return RunProcess(kCliPath, args);
  }

  std::string WriteMesh(const std::string& name, const LlmMesh& mesh) {
    const std::string path = m_folder.File(name);
    EXPECT_TRUE(WriteFileBytes(path, WriteLlm(mesh)));
    return path;
  }

  // A side x side PNG with a red top-left pixel on white.
  std::string WriteTexture() {
    std::vector<std::uint8_t> rgb(8 * 8 * 3, 255);
    rgb[1] = rgb[2] = 0;
    const std::string path = m_folder.File("texture.png");
    EXPECT_TRUE(WritePng(path, rgb, 8, 8));
    return path;
  }

  TempFolder m_folder;
};

TEST_F(CliExportGltf, ReadsBackToTheShapeThatExportObjWrites) {
  struct Case {
    std::string what, mesh;
    std::vector<std::string> weights;
  };
  std::vector<Case> cases = {
      {"fixture",
       WriteMesh("body.llm", MorphedFixture()),
       {"--weight", "ARM_UP=0.5", "--weight=other=-0.25"}},
      {"sample", SampleFile("sample.llm"), {"--appearance", SampleFile("sample.xml")}},
  };
  if (const std::string real = RealMeshPath("avatar_lower_body.llm"); !real.empty()) {
    cases.push_back({"real", real, {"--weight", "Fat_Legs=0.7", "--weight", "male_legs=-1"}});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> args = {c.mesh};
    args.insert(args.end(), c.weights.begin(), c.weights.end());
    const ProcessResult gltf = Export(args, m_folder.File("out.glb"));
    ASSERT_EQ(gltf.exitStatus, 0) << gltf.err;
    args.insert(args.begin(), "export-obj");
    args.insert(args.end(), {"-o", m_folder.File("out.obj")});
    const ProcessResult obj = RunProcess(kCliPath, args);
    ASSERT_EQ(obj.exitStatus, 0) << obj.err;
    // Records that name no vertex are dropped by both, and said so alike.
    EXPECT_EQ(gltf.err, obj.err);

    const tinygltf::Model m = ReadGlb(m_folder.File("out.glb"));
    const ObjFile o = ParseObj(ReadFileText(m_folder.File("out.obj")));
    ASSERT_EQ(m.nodes.size(), 1u);
    ASSERT_EQ(m.meshes.size(), 1u);
    EXPECT_EQ(m.nodes[0].name, std::filesystem::path(c.mesh).stem().string());
    const tinygltf::Mesh& mesh = m.meshes[0];
    const std::vector<Vec3> positions = Shaped(m, mesh, "POSITION");
    const std::vector<Vec3> normals = Shaped(m, mesh, "NORMAL");
    const std::vector<Vec2> texCoords =
        Elements<Vec2>(m, mesh.primitives[0].attributes.at("TEXCOORD_0"));
    ASSERT_EQ(positions.size(), o.v.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
      ExpectNear(positions[i], o.v[i], "position " + std::to_string(i));
      // The OBJ file's normals are unit length; the glTF shape's point the same way.
      ExpectNear(Unit(normals[i]), o.vn[i], "normal " + std::to_string(i));
      // glTF measures v from the picture's top.
      EXPECT_EQ(texCoords[i].u, static_cast<float>(o.vt[i][0]));
      EXPECT_NEAR(1.0f - texCoords[i].v, o.vt[i][1], 1e-6);
    }
    const std::vector<std::uint32_t> indices = Indices(m, mesh.primitives[0].indices);
    ASSERT_EQ(indices.size(), o.f.size() * 3);
    for (std::size_t i = 0; i < indices.size(); ++i) {
      EXPECT_EQ(indices[i] + 1, static_cast<std::uint32_t>(o.f[i / 3].positions[i % 3]));
    }

    // Every target, named in file order.
    LlmMesh file;
    file.Load(c.mesh);
    const tinygltf::Value& names = mesh.extras.Get("targetNames");
    ASSERT_EQ(names.ArrayLen(), file.morphTargets.size());
    ASSERT_EQ(mesh.weights.size(), file.morphTargets.size());
    for (std::size_t t = 0; t < file.morphTargets.size(); ++t) {
      EXPECT_EQ(names.Get(static_cast<int>(t)).Get<std::string>(),
                file.morphTargets[t].DisplayName());
    }
  }
}

// The JSON forms and the baked shape read back to the binary file's shape; with --alpha the
// texture keeps its alpha channel and the material says how to use it.
TEST_F(CliExportGltf, JsonFormsAndTheBakedShapeReadBackAlike) {
  const std::vector<std::string> args = {SampleFile("sample.llm"), "--appearance",
                                         SampleFile("sample.xml"), "--texture",
                                         SampleFile("sample.png")};
  const auto exported = [&](const std::string& name, std::vector<std::string> more) {
    more.insert(more.begin(), args.begin(), args.end());
    const ProcessResult r = Export(more, m_folder.File(name));
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return name.ends_with(".glb") ? ReadGlb(m_folder.File(name)) : ReadGltf(m_folder.File(name));
  };
  const tinygltf::Model glb = exported("a.glb", {});
  const std::vector<Vec3> shape = Shaped(glb, glb.meshes.at(0), "POSITION");
  EXPECT_EQ(glb.materials.at(0).alphaMode, "OPAQUE");

  const tinygltf::Model embedded = exported("b.gltf", {"--alpha", "blend"});
  EXPECT_EQ(ReadFileText(m_folder.File("b.gltf")).front(), '{');
  EXPECT_EQ(embedded.buffers.at(0).uri.rfind("data:application/octet-stream;base64,", 0), 0u);
  EXPECT_EQ(embedded.materials.at(0).alphaMode, "BLEND");
  EXPECT_EQ(embedded.images.at(0).component, 4);

  const tinygltf::Model separate = exported("c d.gltf", {"--separate", "--alpha", "mask"});
  EXPECT_EQ(separate.buffers.at(0).uri, "c%20d.bin");
  EXPECT_EQ(separate.images.at(0).uri, "c%20d_0.png");
  EXPECT_TRUE(std::filesystem::exists(m_folder.File("c d.bin")));
  EXPECT_TRUE(std::filesystem::exists(m_folder.File("c d_0.png")));
  EXPECT_EQ(separate.materials.at(0).alphaMode, "MASK");

  const tinygltf::Model baked = exported("e.glb", {"--bake"});
  const std::vector<Vec3> base =
      Elements<Vec3>(baked, baked.meshes.at(0).primitives.at(0).attributes.at("POSITION"));
  for (const double w : baked.meshes.at(0).weights) EXPECT_EQ(w, 0.0);
  for (const tinygltf::Model* m : {&embedded, &separate, &baked}) {
    const std::vector<Vec3> other = Shaped(*m, m->meshes.at(0), "POSITION");
    ASSERT_EQ(other.size(), shape.size());
    for (std::size_t i = 0; i < shape.size(); ++i) {
      ExpectNear(other[i], {shape[i].x, shape[i].y, shape[i].z}, "vertex " + std::to_string(i));
      if (m == &baked) {
        ExpectNear(FileAxes(base[i]), {shape[i].x, shape[i].y, shape[i].z}, "baked");
      }
    }
  }

  // --separate needs a JSON file to put files beside.
  const ProcessResult r = Export({SampleFile("sample.llm"), "--separate"}, m_folder.File("f.glb"));
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_NE(r.err.find("--separate needs an output file ending in .gltf"), std::string::npos);
}

TEST_F(CliExportGltf, PartsSitInTheirOwnCoordinatesAndTheFirstWearsTheTexture) {
  const std::string body = WriteMesh("body.llm", MakeFixtureMesh());
  const std::string quad = WriteMesh("quad.llm", MakeFacingQuad());
  // A weight that only the first part's targets take is no error.
  const ProcessResult r =
      Export({body, "--add", quad, "--weight", "Other=1", "--texture", WriteTexture()},
             m_folder.File("a.glb"));
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const tinygltf::Model m = ReadGlb(m_folder.File("a.glb"));
  ASSERT_EQ(m.nodes.size(), 2u);
  EXPECT_EQ(m.nodes[0].name, "body");
  EXPECT_EQ(m.nodes[1].name, "quad");
  EXPECT_EQ(m.scenes.at(0).nodes, (std::vector<int>{0, 1}));
  EXPECT_EQ(m.meshes.at(0).weights, (std::vector<double>{0, 0, 1, 0}));
  EXPECT_TRUE(m.meshes.at(1).weights.empty());
  const LlmMesh quadMesh = MakeFacingQuad();
  const std::vector<Vec3> quadPositions = Shaped(m, m.meshes[1], "POSITION");
  ASSERT_EQ(quadPositions.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(quadPositions[i], quadMesh.coords[i]);

  // The texture as PNG on the first part only, its top row first.
  const auto material = [&](std::size_t mesh) {
    return m.materials.at(static_cast<std::size_t>(m.meshes.at(mesh).primitives.at(0).material));
  };
  EXPECT_EQ(material(1).pbrMetallicRoughness.baseColorTexture.index, -1);
  const int texture = material(0).pbrMetallicRoughness.baseColorTexture.index;
  ASSERT_EQ(texture, 0);
  const tinygltf::Image& image = m.images.at(static_cast<std::size_t>(m.textures.at(0).source));
  EXPECT_EQ(image.mimeType, "image/png");
  ASSERT_EQ(image.width, 8);
  ASSERT_GE(image.component, 3);
  EXPECT_EQ(image.image[0], 255);
  EXPECT_EQ(image.image[1], 0);
  EXPECT_EQ(image.image[static_cast<std::size_t>(image.component) * 8 * 7 + 1], 255);
}

TEST_F(CliExportGltf, NormalsWithoutDirectionAreMadeAndUnwritableValuesRefused) {
  constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
  LlmMesh mesh = MakeFixtureMesh();
  mesh.normals[0] = {0, 0, 0};
  mesh.normals[1] = {0, 0, 0};
  mesh.normals[2] = {0, 0, 3};
  ASSERT_EQ(Export({WriteMesh("n.llm", mesh)}, m_folder.File("n.glb")).exitStatus, 0);
  const tinygltf::Model m = ReadGlb(m_folder.File("n.glb"));
  const std::vector<Vec3> normals = Shaped(m, m.meshes.at(0), "NORMAL");
  // Vertex 0 lies on both triangles, facing +Z and +X; vertex 1 only on the first.
  const float half = std::sqrt(0.5f);
  ExpectNear(normals[0], {half, 0, half}, "from both triangles");
  ExpectNear(normals[1], {0, 0, 1}, "from one triangle");
  ExpectNear(normals[2], {0, 0, 1}, "made unit length");

  const struct {
    const char* what;
    void (*spoil)(LlmMesh&);
    const char* error;
  } refusals[] = {
      // A file with such a position is no mesh at all.
      {"position", [](LlmMesh& b) { b.coords[2].y = kNan; }, "is not a mesh: values that are not"},
      // Two finite offsets of one vertex whose sum is not.
      {"offset",
       [](LlmMesh& b) {
         for (MorphVertex& r : b.morphTargets[0].vertices) {
           r.vertexIndex = 1;
           r.coordDelta.x = 3e38f;
         }
       },
       "in morph target 'Arm_Up' is not a finite number"},
      {"no triangles",
       [](LlmMesh& b) {
         b.faces = {0, 1, 9};
       },
       "has no triangles to export"},
      {"far too many targets",
       [](LlmMesh& b) { b.morphTargets.resize(70000, MakeMorphTarget("Many", {})); },
       "too large for a glTF file: about "},
  };
  for (const auto& refusal : refusals) {
    LlmMesh bad = MakeFixtureMesh();
    bad.numFaces = 1;
    bad.faces.resize(3);
    refusal.spoil(bad);
    const ProcessResult r = Export({WriteMesh("bad.llm", bad)}, m_folder.File("bad.glb"));
    EXPECT_EQ(r.exitStatus, 2) << refusal.what;
    EXPECT_NE(r.err.find(refusal.error), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("bad.glb"))) << refusal.what;
  }
  const ProcessResult r = Export({WriteMesh("w.llm", MakeFixtureMesh()), "--add",
                                  WriteMesh("q.llm", MakeFacingQuad()), "--weight", "Nowhere=1"},
                                 m_folder.File("w.glb"));
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err, "tovmar-cli: no morph target named 'Nowhere'\n");
}

// A file name that is not UTF-8 names its node as its bytes read as Latin-1.
TEST_F(CliExportGltf, AFileNameThatIsNotUtf8NamesItsNode) {
  const std::string mesh = WriteMesh("\xff\xe9.llm", MakeFixtureMesh());
  const ProcessResult r = Export({mesh}, m_folder.File("out.glb"));
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(ReadGlb(m_folder.File("out.glb")).nodes.at(0).name, "\u00ff\u00e9");
}

TEST_F(CliExportGltf, PassesTheKhronosValidator) {
  const std::filesystem::path tools = TOVMAR_NODE_TOOLS_DIR;
  if (!std::filesystem::exists(TOVMAR_NODE_PATH) ||
      !std::filesystem::exists(tools / "node_modules" / "gltf-validator")) {
    GTEST_SKIP() << "node or the gltf-validator package is not installed";
  }
  LlmMesh unlit = MorphedFixture();
  unlit.normals[0] = {0, 0, 0};
  const std::string sample = SampleFile("sample.llm"), xml = SampleFile("sample.xml");
  // Binary, JSON with everything embedded and JSON with its files beside it; textures with alpha;
  // baked shapes; the real meshes' targets sparse.
  std::vector<std::pair<std::string, std::vector<std::string>>> exports = {
      {"0.glb",
       {WriteMesh("body.llm", unlit), "--add", WriteMesh("quad.llm", MakeFacingQuad()), "--weight",
        "arm_up=1", "--texture", WriteTexture()}},
      {"1.gltf",
       {sample, "--appearance", xml, "--texture", SampleFile("sample.png"), "--alpha", "blend"}},
      {"2.gltf",
       {sample, "--appearance", xml, "--texture", SampleFile("sample.png"), "--alpha", "mask",
        "--bake", "--separate"}},
  };
  const std::string lower = RealMeshPath("avatar_lower_body.llm");
  const std::string lashes = RealMeshPath("avatar_eyelashes.llm");
  if (!lower.empty() && !lashes.empty()) {
    exports.push_back({"3.glb",
                       {lower, "--add", lashes, "--weight", "Blink_Left=1", "--weight",
                        "Bowed_Legs=-0.5", "--texture", SampleFile("sample.png")}});
    exports.push_back({"4.gltf", {lower, "--weight", "Bowed_Legs=-0.5", "--bake"}});
  }
  std::vector<std::string> files = {(tools / "validate.js").string()};
  for (const auto& [name, args] : exports) {
    files.push_back(m_folder.File(name));
    const ProcessResult r = Export(args, files.back());
    ASSERT_EQ(r.exitStatus, 0) << r.err;
  }
  const ProcessResult report = RunProcess(TOVMAR_NODE_PATH, files);
  EXPECT_EQ(report.exitStatus, 0) << report.out << report.err;
  EXPECT_EQ(SplitLines(report.out).size(), exports.size()) << report.out;
}

}  // namespace
}  // namespace tovmar::test
