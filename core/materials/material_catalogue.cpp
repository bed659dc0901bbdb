#include "core/materials/material_catalogue.h"

#include <algorithm>
#include <utility>

#include "core/base/text_util.h"
#include "core/structure/link_table.h"

namespace tf {
const MaterialCategory* MaterialCatalogue::category(int number) const {
    if (number < 1 || number > categoryCount()) {
        return nullptr;
    }
    return &categories_[static_cast<std::size_t>(number - 1)];
}

int MaterialCatalogue::findCategory(std::string_view name) const {
    for (int i = 0; i < categoryCount(); ++i) {
        if (equalIgnoringAsciiCase(categories_[static_cast<std::size_t>(i)].name, name)) {
            return i + 1;
        }
    }
    return 0;
}

bool MaterialCatalogue::isFull(std::string_view name) const {
    const MaterialCategory* c = category(findCategory(name));
    return c != nullptr && static_cast<std::int32_t>(c->entries.size()) >= kMaterialsPerCategory;
}

int MaterialCatalogue::addCategory(std::string name) {
    categories_.push_back({std::move(name), {}});
    return categoryCount();
}

std::int32_t MaterialCatalogue::addMaterial(int number, MaterialEntry entry) {
    if (number < 1 || number > categoryCount()) {
        return 0;
    }
    auto& entries = categories_[static_cast<std::size_t>(number - 1)].entries;
    if (static_cast<std::int32_t>(entries.size()) >= kMaterialsPerCategory) {
        return 0;
    }
    entries.push_back(std::move(entry));
    return materialId(number, static_cast<int>(entries.size()));
}

const MaterialEntry* MaterialCatalogue::byId(std::int32_t id) const {
    const MaterialCategory* c = category(id / 1000);
    const int entry = id % 1000;
    if (c == nullptr || entry < 1 || entry > static_cast<int>(c->entries.size())) {
        return nullptr;
    }
    return &c->entries[static_cast<std::size_t>(entry - 1)];
}

MaterialEntry* MaterialCatalogue::byId(std::int32_t id) {
    return const_cast<MaterialEntry*>(std::as_const(*this).byId(id));
}

std::vector<std::int32_t> MaterialCatalogue::idsNamed(std::string_view name) const {
    name = trimSpaces(name);
    std::vector<std::int32_t> ids;
    for (int c = 1; c <= categoryCount(); ++c) {
        const auto& entries = categories_[static_cast<std::size_t>(c - 1)].entries;
        for (std::size_t e = 0; e < entries.size(); ++e) {
            if (!entries[e].removed && entries[e].name == name) {
                ids.push_back(materialId(c, static_cast<int>(e + 1)));
            }
        }
    }
    return ids;
}

void MaterialCatalogue::renameCategory(int number, std::string name) {
    if (number >= 1 && number <= categoryCount()) {
        categories_[static_cast<std::size_t>(number - 1)].name = std::move(name);
    }
}

bool validateLink(const MaterialLink& link, const MaterialCatalogue& catalogue) {
    const MaterialEntry* entry = catalogue.byId(link.materialId);
    return entry != nullptr && !entry->removed && trimSpaces(link.materialName) == entry->name;
}

}  // namespace tf
