#pragma once

#include <span>
#include <string_view>

namespace tf {

// The faces of the Chinese editions of the system that the tables ask for by name, and the
// Simplified Chinese faces of the same kind that stand in where they are not installed. Left
// to the font system, a missing 宋体 becomes a Japanese sans face, which draws 骨 and 角 in
// their Japanese forms and prints in a face of another kind than the one asked for.
struct FaceStandIn {
    std::string_view asked;
    std::span<const std::string_view> standIns;
};

std::span<const FaceStandIn> chineseFaceStandIns();

// The faces that carry Chinese characters in any other face (the interface's own, a Latin
// face a user chose): Simplified Chinese sans faces, the first installed one wins.
std::span<const std::string_view> chineseFallbackFaces();

}  // namespace tf
