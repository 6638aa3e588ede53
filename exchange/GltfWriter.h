// Meshes as one glTF 2.0 file, written with tinygltf.
#pragma once

#include <string>
#include <vector>

#include "exchange/GltfFile.h"
#include "exchange/GltfMesh.h"

namespace tovmar {

// The glTF file, in the form `options` give, holding one scene with a node for each of `meshes`, in
// order, each with its mesh: one triangle list with POSITION, NORMAL and TEXCOORD_0, and every
// morph target (POSITION and NORMAL offsets) with its name in the mesh's extras.targetNames and its
// weight in the mesh's default weights. `texturePng`, PNG file bytes or empty, becomes the base
// colour texture of the first mesh's material. Throws ExchangeError when the file cannot be made.
GltfFiles WriteGltf(const std::vector<GltfMesh>& meshes, const std::string& texturePng,
                    const GltfFileOptions& options);

}  // namespace tovmar
