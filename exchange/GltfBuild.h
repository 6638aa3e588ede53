// The pieces a glTF binary file is built from, shared by the writer of loose meshes and the
// writer of a whole avatar: the one buffer, accessors, a mesh's primitive and its material.
#pragma once

#include <tiny_gltf.h>

#include <cstddef>
#include <string>

#include "exchange/GltfFile.h"
#include "exchange/GltfMesh.h"

namespace tovmar {

// The one buffer of the file, filled view by view, and the images, in the buffer or, for the
// separate form, as files beside it.
class BufferBuilder {
 public:
  BufferBuilder(tinygltf::Model& model, const GltfFileOptions& options);

  // A view of `bytes` copied to the end of the buffer, which starts on a multiple of 4 so that
  // every accessor in it is aligned. `target` 0: no target; `stride` 0: none.
  int AddView(const void* bytes, std::size_t size, int target, std::size_t stride);

  // The image of `png`, PNG file bytes: a view of the buffer, or a file NAME_N.png beside.
  int AddImage(const std::string& png);

  const GltfFileOptions& Options() const { return m_options; }

  // The file of the model in the options' form, with the files beside it. Throws ExchangeError
  // when tinygltf cannot write it.
  GltfFiles Write();

 private:
  tinygltf::Model& m_model;
  GltfFileOptions m_options;
  std::vector<std::pair<std::string, std::string>> m_beside;
};

int AddAccessor(tinygltf::Model& model, int view, std::size_t byteOffset, int componentType,
                std::size_t count, int type);

// The glTF mesh of `mesh`: one triangle list drawn with `material`, with POSITION, NORMAL and
// TEXCOORD_0, and every morph target (POSITION and NORMAL offsets) with its name in the mesh's
// extras.targetNames and its weight in the mesh's default weights. Each target's offsets of one
// kind are stored sparse (only the vertices it moves) wherever that takes fewer bytes, and as no
// data at all where it moves none. Its data goes into `buffer`;
// the mesh itself is returned for the caller to complete and store.
tinygltf::Mesh MakeMesh(tinygltf::Model& model, BufferBuilder& buffer, const GltfMesh& mesh,
                        int material);

// A matte material drawn from both sides, as the window lights the mesh, named `name` (empty:
// no name); with `texturePng`, PNG file bytes, as its base colour texture when there is one,
// its alpha treated as the options say.
int AddMaterial(tinygltf::Model& model, BufferBuilder& buffer, const std::string& texturePng,
                const std::string& name);

}  // namespace tovmar
