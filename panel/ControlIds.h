// The ids of the control panel's controls.
#pragma once

namespace tovmar {

constexpr int IDC_URL1 = 1000;
constexpr int IDC_URL2 = 1001;
constexpr int IDC_LOAD_MESH = 1002;
constexpr int IDC_LABEL_MESH = 1003;
constexpr int IDC_MOVE_UP = 1004;
constexpr int IDC_MOVE_LEFT = 1005;
constexpr int IDC_MOVE_RIGHT = 1006;
constexpr int IDC_MOVE_DOWN = 1007;
constexpr int IDC_LABEL_TEXTURE = 1008;
constexpr int IDC_THUMBNAIL = 1009;
constexpr int IDC_LOAD_TEXTURE = 1010;
constexpr int IDC_LABEL_DISPLAY = 1013;
constexpr int IDC_ALWAYS_ON_TOP = 1014;
constexpr int IDC_REFRESH_TEXTURE = 1015;
constexpr int IDC_LIGHT_POS = 1016;
constexpr int IDC_MORPHING = 1017;
constexpr int IDC_LOAD_AVATAR = 1018;
constexpr int IDC_TEX_FIT = 1036;

}  // namespace tovmar
