#include "panel/MeshReadMessage.h"

#include <cstdint>

namespace tovmar {

namespace {

std::string N(std::uint64_t n) {
  return std::to_string(n);
}

// Where the file ends inside its header, vertex arrays or face list.
std::string CutGeometry(const LlmReadReport& r) {
  switch (r.cutIn) {
    case LlmSection::kHeader:
      return "ヘッダ (" + N(r.declaredBytes) + " バイト) の途中、" + N(r.presentBytes) +
             " バイトでファイルが終わっています。";
    case LlmSection::kVertices:
      return "頂点データの途中でファイルが終わっています (頂点 " + N(r.declared) + " 個の " +
             N(r.declaredBytes) + " バイトのうち " + N(r.presentBytes) + " バイト)。";
    case LlmSection::kFaces:
      if (!r.countWhole) return "面の数の前でファイルが終わっています。";
      return "面リストの途中でファイルが終わっています (面 " + N(r.declared) + " 個のうち " +
             N(r.present) + " 個)。";
    default:
      return "";
  }
}

std::string Reason(const MeshReadRefusal& why) {
  switch (why.status) {
    case LlmFileStatus::kCannotOpen:
      return "ファイルがないか、開けません。";
    case LlmFileStatus::kNotRegularFile:
      return "通常のファイルではありません (フォルダ、名前付きパイプ、デバイス)。";
    case LlmFileStatus::kTooLarge:
      return "メッシュのファイルとしては大きすぎます (上限 " + N(kMaxMeshFileBytes >> 20) +
             " MB)。";
    case LlmFileStatus::kReadError:
      return "読み取り中にエラーが起きました。";
    case LlmFileStatus::kRead:
      break;
  }
  if (why.report.GeometryCut()) return CutGeometry(why.report);
  return "位置・法線・テクスチャ座標に数でない値が " + N(why.report.nonFiniteVertexValues) +
         " 個あります。";
}

}  // namespace

std::string MeshReadMessage(const std::string& path, const MeshReadRefusal& why) {
  return "指定ファイルが読み込めませんでした。\n" + path + "\n" + Reason(why);
}

}  // namespace tovmar
