#include "exchange/GltfWriter.h"

#include <tiny_gltf.h>

#include "exchange/GltfBuild.h"

namespace tovmar {

GltfFiles WriteGltf(const std::vector<GltfMesh>& meshes, const std::string& texturePng,
                    const GltfFileOptions& options) {
  tinygltf::Model model;
  model.asset.version = "2.0";
  model.asset.generator = "Tovmar";
  BufferBuilder buffer(model, options);

  // The texture dresses the first mesh; the others share a plain material.
  const int dressed = texturePng.empty() ? -1 : AddMaterial(model, buffer, texturePng, "");
  int plain = -1;
  tinygltf::Scene scene;
  for (std::size_t i = 0; i < meshes.size(); ++i) {
    int material = dressed;
    if (i > 0 || dressed < 0) {
      if (plain < 0) plain = AddMaterial(model, buffer, {}, "");
      material = plain;
    }
    model.meshes.push_back(MakeMesh(model, buffer, meshes[i], material));
    tinygltf::Node node;
    node.name = meshes[i].name;
    node.mesh = static_cast<int>(model.meshes.size() - 1);
    model.nodes.push_back(node);
    scene.nodes.push_back(static_cast<int>(i));
  }
  model.scenes.push_back(scene);
  model.defaultScene = 0;
  return buffer.Write();
}

}  // namespace tovmar
