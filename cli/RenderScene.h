// The scene of each picture that `render` draws: a mesh file, the body parts that --add puts
// beside it, and the textures. The parts and the textures are the same for every picture of a
// run, so each of their files is read once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/MorphSettings.h"
#include "mesh/LlmMesh.h"
#include "mesh/SceneStore.h"
#include "mesh/TextureObject.h"

namespace tovmar::cli {

// The files of one --add: the part's mesh and the image that dresses it (empty: none).
struct PartFiles {
  std::string mesh;
  std::string texture;
};

// What every picture of a run shares.
class SharedScene {
 public:
  // Reads every part's mesh file and sets the weights of `morphs` on its targets, and loads
  // `texture` (the first mesh's image; empty: none) and every part's image, each file once.
  // Throws CliError when a file cannot be read.
  SharedScene(MorphSettings morphs, const std::string& texture,
              const std::vector<PartFiles>& parts);

  // The bytes of the textures' pixels, which each picture scene copies.
  std::uint64_t TextureBytes() const;

 private:
  friend class PictureScene;

  struct Part {
    std::string path;
    LlmMesh mesh;
    int texture = -1;  // into m_textures
  };

  // The index of `path` in m_textures, loading it the first time; -1 for an empty path.
  int Texture(const std::string& path);

  MorphSettings m_morphs;
  std::vector<Part> m_parts;
  // For each --weight, whether it names a target of some part.
  std::vector<bool> m_namedByParts;
  std::vector<TextureObject> m_textures;
  int m_firstTexture = -1;
};

// A scene store in which the scene of one picture after another is built and then drawn. It
// holds its own copy of the run's textures throughout, so that stores on several threads share
// nothing while they draw.
class PictureScene {
 public:
  explicit PictureScene(const SharedScene& shared);

  // Builds the scene of the mesh file at `path` in place of the previous one: its two mesh
  // objects as loading a mesh builds them, deformed by the run's weights and dressed with the
  // first texture, then each part, deformed by the same weights matched against its own targets
  // and placed with the mesh's centre and scale so that the parts sit together as on the avatar.
  // Throws CliError when the file cannot be read or a --weight names a target of neither the
  // mesh nor any part.
  void Build(const std::string& path);

  SceneStore& Store() { return m_store; }

 private:
  // Adds the drawn object of `part`, placed about `centre`, the mesh's centre in file
  // coordinates.
  void AddPart(const SharedScene::Part& part, const Vec3& centre);

  const SharedScene& m_shared;
  SceneStore m_store;
  std::vector<std::int32_t> m_textureIds;  // one for each of the shared textures
};

}  // namespace tovmar::cli
