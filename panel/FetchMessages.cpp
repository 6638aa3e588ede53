#include "panel/FetchMessages.h"

#include "base/Location.h"
#include "base/UrlPasswords.h"

namespace tovmar {

namespace {

const char kNotRead[] = "Avatar 設定を読み込めませんでした。\n";

// The second line: what went wrong, in the user's words.
std::optional<std::string> Cause(const FetchResult& fetched) {
  switch (fetched.failure) {
    case FetchFailure::kNone:
      if (fetched.status != FetchStatus::kFailed) return std::nullopt;
      return "通信に失敗しました。";
    case FetchFailure::kHttpStatus: {
      const std::string status = "HTTP " + std::to_string(fetched.httpStatus);
      if (fetched.httpStatus == 404) return "サーバーにありません (" + status + " Not Found)。";
      return "サーバーがエラーを返しました (" + status + ")。";
    }
    case FetchFailure::kUnknownHost:
      return "ホスト名が見つかりません。";
    case FetchFailure::kRefused:
      return "サーバーに接続を拒否されました。";
    case FetchFailure::kTimedOut:
      return "サーバーが時間内に応答しませんでした。";
    case FetchFailure::kTooLarge:
      return "ファイルが大きすぎます (上限 " + std::to_string(fetched.limit / (1024 * 1024)) +
             " MB)。";
    case FetchFailure::kRedirects:
      return "転送 (リダイレクト) が多すぎます (上限 " + std::to_string(fetched.limit) + " 回)。";
    case FetchFailure::kBrokenOff:
      return "通信に失敗しました。";
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FetchFailureMessage(const std::string& location,
                                               const FetchResult& fetched) {
  if (fetched.status == FetchStatus::kLoaded || fetched.status == FetchStatus::kCancelled) {
    return std::nullopt;
  }
  // A local file that is missing or no regular file stays silent, as before.
  if (!IsRemoteLocation(location) && fetched.status == FetchStatus::kNotLoaded) {
    return std::nullopt;
  }
  const std::optional<std::string> cause = Cause(fetched);
  if (!cause) return std::nullopt;
  return kNotRead + *cause + "\n" + MaskUrlPasswords(location);
}

std::string NotAppearanceMessage(const std::string& location) {
  return std::string(kNotRead) +
         "Avatar 設定のファイルではありません (param 要素がありません)。\n" +
         MaskUrlPasswords(location);
}

}  // namespace tovmar
