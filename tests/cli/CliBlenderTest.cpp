// The recipe of cli.md for Blender, run as written: an OBJ file turned Y up with its material and
// a JSON glTF file with its shape keys and blended texture, each imported with Blender's own
// importer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "mesh/LlmMesh.h"
#include "tests/support/RunProcess.h"
#include "tests/support/TempFolder.h"

namespace tovmar::test {
namespace {

namespace fs = std::filesystem;

// Prints, for every mesh object: its name, its extent in the scene along Blender's X, Y and Z (Z
// up), its shape keys
// counted, and each material's blend method and image file name.
constexpr char kScript[] = R"(import os, sys
try:
    import numpy
except ImportError:
    print("NO NUMPY")
    sys.exit(0)
numpy.bool = bool
import bpy, mathutils
bpy.ops.wm.read_factory_settings(use_empty=True)
for path in sys.argv[sys.argv.index("--") + 1:]:
    if path.endswith(".obj"):
        bpy.ops.import_scene.obj(filepath=path)
    else:
        bpy.ops.import_scene.gltf(filepath=path)
for o in bpy.data.objects:
    if o.type != "MESH":
        continue
    keys = len(o.data.shape_keys.key_blocks) - 1 if o.data.shape_keys else 0
    corners = [o.matrix_world @ mathutils.Vector(c) for c in o.bound_box]
    extent = [max(c[i] for c in corners) - min(c[i] for c in corners) for i in range(3)]
    print("MESH", o.name, "%.3f %.3f %.3f" % tuple(extent), keys)
    for m in o.data.materials:
        images = [os.path.basename(n.image.filepath) for n in m.node_tree.nodes
                  if n.type == "TEX_IMAGE" and n.image]
        print("MATERIAL", o.name, m.blend_method, " ".join(images))
)";

std::string Sample(const std::string& name) {
  return (fs::path(TOVMAR_SAMPLE_DIR) / name).string();
}

TEST(CliBlender, ImportsTheObjStandingAndTheGltfWithShapeKeys) {
  const fs::path blender = TOVMAR_BLENDER_PATH;
  if (blender.empty() || !fs::exists(blender)) GTEST_SKIP() << "blender is not installed";
  TempFolder folder;
  const std::string obj = folder.File("standing.obj"), gltf = folder.File("shaped.gltf");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"export-obj", Sample("sample.llm"), "--appearance",
                                 Sample("sample.xml"), "--up", "y", "--texture",
                                 Sample("sample.png"), "-o", obj},
        {"export-gltf", Sample("sample.llm"), "--appearance", Sample("sample.xml"), "--texture",
         Sample("sample.png"), "--alpha", "blend", "-o", gltf}}) {
    const ProcessResult r = RunProcess(TOVMAR_CLI_PATH, args);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
  }
  const std::string script = folder.File("import.py");
  ASSERT_TRUE(WriteFileBytes(script, kScript));
  const ProcessResult r =
      RunProcess("/usr/bin/env",
                 {"-i", "PATH=" + blender.parent_path().string() + ":/usr/bin:/bin",
                  "HOME=" + folder.Path().string(), blender.string(), "-b", "--factory-startup",
                  "--python-exit-code", "1", "--python", script, "--", obj, gltf});
  if (r.out.find("NO NUMPY\n") != std::string::npos) {
    GTEST_SKIP() << "Blender's glTF importer needs numpy (python3-numpy)";
  }
  ASSERT_EQ(r.exitStatus, 0) << r.out << r.err;
  std::map<std::string, std::string> meshes, materials;
  for (const std::string& line : SplitLines(r.out)) {
    const std::size_t name = line.find(' ') + 1, rest = line.find(' ', name) + 1;
    if (line.starts_with("MESH ")) meshes[line.substr(name, rest - name - 1)] = line.substr(rest);
    if (line.starts_with("MATERIAL ")) {
      materials[line.substr(name, rest - name - 1)] = line.substr(rest);
    }
  }

  // Both stand, equally tall: Blender's Z, its up, is their longest extent.
  LlmMesh mesh;
  mesh.Load(Sample("sample.llm"));
  ASSERT_EQ(meshes.size(), 2u) << r.out;
  std::map<std::string, double> heights;
  for (const auto& [name, shape] : meshes) {
    double x = 0, y = 0, z = 0;
    int keys = -1;
    ASSERT_EQ(std::sscanf(shape.c_str(), "%lf %lf %lf %d", &x, &y, &z, &keys), 4) << shape;
    EXPECT_LT(std::max(x, y), z / 2) << name;
    heights[name] = z;
    EXPECT_EQ(keys, name == "sample" ? static_cast<int>(mesh.morphTargets.size()) : 0) << name;
  }
  EXPECT_NEAR(heights["standing"], heights["sample"], 0.002) << r.out;
  EXPECT_EQ(materials["standing"], "OPAQUE sample.png") << r.out;
  EXPECT_TRUE(materials["sample"].starts_with("BLEND")) << r.out;
}

}  // namespace
}  // namespace tovmar::test
