#include "core/print/chinese_faces.h"

#include <array>

namespace tf {
namespace {

using namespace std::string_view_literals;

constexpr std::array kSong = {"Noto Serif CJK SC"sv, "Source Han Serif SC"sv, "AR PL UMing CN"sv,
                              "Noto Sans CJK SC"sv};
constexpr std::array kHei = {"Noto Sans CJK SC"sv, "Source Han Sans SC"sv, "WenQuanYi Zen Hei"sv,
                             "WenQuanYi Micro Hei"sv};
constexpr std::array kKai = {"AR PL UKai CN"sv, "Noto Serif CJK SC"sv, "Source Han Serif SC"sv};

constexpr std::array kStandIns = {
    FaceStandIn{"宋体", kSong},           FaceStandIn{"SimSun", kSong},
    FaceStandIn{"新宋体", kSong},         FaceStandIn{"NSimSun", kSong},
    FaceStandIn{"仿宋", kSong},           FaceStandIn{"仿宋_GB2312", kSong},
    FaceStandIn{"FangSong", kSong},       FaceStandIn{"黑体", kHei},
    FaceStandIn{"SimHei", kHei},          FaceStandIn{"微软雅黑", kHei},
    FaceStandIn{"Microsoft YaHei", kHei}, FaceStandIn{"楷体", kKai},
    FaceStandIn{"楷体_GB2312", kKai},     FaceStandIn{"KaiTi", kKai},
};

}  // namespace

std::span<const FaceStandIn> chineseFaceStandIns() {
    return kStandIns;
}

std::span<const std::string_view> chineseFallbackFaces() {
    return kHei;
}

}  // namespace tf
