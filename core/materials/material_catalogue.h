#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

struct MaterialLink;

struct MaterialEntry {
    std::string name;
    std::string spec;
    std::string unit;
    double price = 0;
    std::string note;
    // A deleted material keeps its place, so no other id shifts while the project is open.
    bool removed = false;
};

struct MaterialCategory {
    std::string name;
    std::vector<MaterialEntry> entries;  // numbered from 1
};

inline constexpr std::int32_t kMaterialsPerCategory = 999;

constexpr std::int32_t materialId(int category, int entry) {
    return category * 1000 + entry;
}

// The in-memory index of the material table: categories in order of creation, numbered
// from 1, each with its materials numbered from 1. A material's id is
// category number × 1000 + entry number.
class MaterialCatalogue {
  public:
    int categoryCount() const { return static_cast<int>(categories_.size()); }
    // Category by number (from 1); null when there is none.
    const MaterialCategory* category(int number) const;
    // Number of the category of that name, compared without regard to ASCII case; 0 = none.
    int findCategory(std::string_view name) const;
    int addCategory(std::string name);
    // Id of the new entry; 0 when the category is unknown or full.
    std::int32_t addMaterial(int category, MaterialEntry entry);
    // Whether the category of that name (as findCategory finds it) holds as many materials as
    // ids can number.
    bool isFull(std::string_view name) const;
    const MaterialEntry* byId(std::int32_t id) const;
    MaterialEntry* byId(std::int32_t id);
    void renameCategory(int number, std::string name);
    // The present materials of that name (spaces around it aside), in every category.
    std::vector<std::int32_t> idsNamed(std::string_view name) const;
    void clear() { categories_.clear(); }

  private:
    std::vector<MaterialCategory> categories_;
};

// A link is valid while its id names a present entry of the catalogue whose name equals the
// link's material name (spaces around it aside).
bool validateLink(const MaterialLink& link, const MaterialCatalogue& catalogue);

}  // namespace tf
