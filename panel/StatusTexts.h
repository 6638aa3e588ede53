// The texts of the main window's status bar, in Japanese: which mesh, texture and appearance
// are loaded.
#pragma once

#include <cstddef>
#include <string>

namespace tovmar {

// The status bar's fields, left to right.
enum StatusField { kStatusMesh = 0, kStatusTexture = 1, kStatusAppearance = 2, kStatusFieldCount };

// "メッシュ: NAME (頂点 V、ターゲット T)" for the mesh file at `path`.
std::string MeshStatusText(const std::string& path, std::size_t vertices, std::size_t targets);
// "テクスチャ: NAME (W × H)" for the picture file at `path`.
std::string TextureStatusText(const std::string& path, int width, int height);
// "Avatar 設定: NAME (ターゲット N 個)" for the appearance file or address `location` (an
// address whole, its password as "***") that set `targets` morph targets.
std::string AppearanceStatusText(const std::string& location, int targets);

}  // namespace tovmar
