// Damaged files of every kind the program reads: single bit flips, truncations, length fields
// set to 0, -1 and 0x7fffffff, and for projects a section swapped for another project's.
// Nothing may crash, no damaged project or structure file may be taken as whole with other
// content than it was written with, and a project salvaged names only the parts damaged. The
// counts are printed; TF_MUTATIONS sets how many of each kind (1,250 when unset: 5,000
// projects).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>

#include "cli/sample_project.h"
#include "core/base/byte_io.h"
#include "core/base/byte_stream.h"
#include "core/base/number_text.h"
#include "core/base/text_codec.h"
#include "core/base/text_util.h"
#include "core/entry/entry_sheet.h"
#include "core/materials/material_text_file.h"
#include "core/project/project_file.h"
#include "core/project/project_io.h"
#include "core/structure/default_structure.h"
#include "core/structure/structure_file.h"

namespace tf {
namespace {

int mutationsOfEachKind() {
    const char* set = std::getenv("TF_MUTATIONS");
    const int count = set != nullptr ? std::atoi(set) : 0;
    return count > 0 ? count : 1250;
}

// Makes damaged copies of one file.
class Mutator {
  public:
    explicit Mutator(std::string original) : original_(std::move(original)) {}

    std::string flipBit() {
        std::string bytes = original_;
        const std::size_t at = pick(bytes.size());
        bytes[at] = static_cast<char>(bytes[at] ^ (1 << pick(8)));
        return bytes;
    }
    std::string truncate() { return original_.substr(0, pick(original_.size())); }
    // The 32-bit field at `offset` set to one of the lengths that break readers.
    std::string setLength(std::size_t offset) {
        constexpr std::int32_t kValues[] = {0, -1, 0x7fffffff};
        ByteWriter w;
        w.i32(kValues[pick(3)]);
        std::string bytes = original_;
        bytes.replace(offset, 4, w.data());
        return bytes;
    }

  private:
    std::size_t pick(std::size_t below) {
        return std::uniform_int_distribution<std::size_t>(0, below - 1)(random_);
    }

    std::string original_;
    std::mt19937_64 random_{20261208};
};

struct Tally {
    int refused = 0;
    int salvaged = 0;
    int unchanged = 0;
    int silentlyWrong = 0;
    int misnamed = 0;  // salvaged, naming a part that was not damaged or not the one that was
};

std::ostream& operator<<(std::ostream& out, const Tally& t) {
    return out << t.refused << " refused, " << t.salvaged << " salvaged, " << t.unchanged
               << " read back unchanged, " << t.silentlyWrong << " taken as whole but changed, "
               << t.misnamed << " naming a part not damaged";
}

bool sameProject(const ProjectDocument& a, const ProjectDocument& b) {
    return a.analysis == b.analysis && a.materials == b.materials &&
           a.attachments == b.attachments && a.structure == b.structure;
}

// The bytes read as a file is: through a window of `window` bytes, from a source that hands
// out at most 5 bytes a call and fails for reads that reach `failAt`.
std::optional<ProjectReading> readLikeAFile(std::string_view image, Prompter& prompter,
                                            std::size_t window, std::uint64_t failAt = UINT64_MAX) {
    ByteStream stream(
        [image, failAt](std::uint64_t offset, std::span<char> out) -> std::optional<std::size_t> {
            const auto part = image.substr(static_cast<std::size_t>(offset),
                                           std::min<std::size_t>(out.size(), 5));
            if (offset + part.size() > failAt) {
                return std::nullopt;
            }
            std::memcpy(out.data(), part.data(), part.size());
            return part.size();
        },
        image.size(), window);
    return readProjectImage(stream, prompter);
}

bool sameReading(const std::optional<ProjectReading>& a, const std::optional<ProjectReading>& b) {
    return a.has_value() == b.has_value() &&
           (!a || (a->lostParts == b->lostParts && a->integrity == b->integrity &&
                   sameProject(a->document, b->document)));
}

// Where the lengths N, L1, L2 and L3 stand in a project image.
std::vector<std::size_t> lengthFields(std::string_view image) {
    std::vector<std::size_t> fields{0};
    ByteReader r(image);
    const auto attachments = static_cast<std::size_t>(*r.i32());
    std::size_t at = 4 + attachments + 15;
    for (int i = 0; i < 3; ++i) {
        fields.push_back(at);
        ByteReader length(image.substr(at));
        at += 4 + static_cast<std::size_t>(*length.i32());
    }
    return fields;
}

// Where the sections of a project image start: the attachment section, the analysis table
// with the magic before it, the material table, the tree part, the item-table part and the
// record of checks; then the image's end.
std::vector<std::size_t> sectionStarts(std::string_view image) {
    const auto fields = lengthFields(image);
    ByteReader tree(image.substr(fields[3]));
    const std::size_t items = fields[3] + 4 + static_cast<std::size_t>(*tree.i32());
    return {0, fields[1] - 15, fields[2], fields[3], items, image.size() - 32, image.size()};
}

// What the user is told of a damaged section; the analysis table has no name: a file whose
// table is damaged is refused.
constexpr const char* kPartNames[] = {"附加资料", "", "材料表", "分部分项结构", "分部分项结构", ""};

std::size_t sectionAt(const std::vector<std::size_t>& starts, std::size_t offset) {
    std::size_t k = 0;
    while (k + 2 < starts.size() && offset >= starts[k + 1]) {
        ++k;
    }
    return k;
}

// Whether the parts named are among those from `first` on, and, when `exactly`, that
// section's own.
bool namedTruly(const std::vector<std::string>& named, std::size_t first, bool exactly) {
    for (const std::string& part : named) {
        bool allowed = false;
        for (std::size_t k = first; k < std::size(kPartNames); ++k) {
            allowed = allowed || (part == kPartNames[k] && !part.empty());
        }
        if (!allowed || (exactly && part != kPartNames[first])) {
            return false;
        }
    }
    return true;
}

// Other projects to take sections from: other locations, prices, attachments and structure.
std::vector<std::string> donorImages() {
    std::vector<std::string> donors;
    for (int locations = 1; locations <= 3; ++locations) {
        ProjectDocument donor;
        cli::buildSampleProject(donor, locations + 4);
        donor.materials.setText(locations, 5, std::to_string(100 + locations));
        donor.attachments.records[2] = "OTHER FILES " + std::to_string(locations);
        Structure structure = *parseStructure(donor.structure);
        structure.tree[static_cast<std::size_t>(locations)].name += "（改）";
        structure.items[static_cast<std::size_t>(locations) + 2].labourPrice = "9.99";
        donor.structure = serializeStructure(structure);
        donors.push_back(buildProjectImage(donor));
    }
    return donors;
}

TEST(Mutation, DamagedProjectsAreRefusedOrSalvagedNeverTakenAsWholeOrMisnamed) {
    ProjectDocument sample;
    cli::buildSampleProject(sample, 4);
    sample.attachments.records[3] = "FILES OF THE FIRST LOCATION";
    const std::string image = buildProjectImage(sample);
    SilentPrompter quiet;
    const auto original = readProjectImage(image, quiet);
    ASSERT_TRUE(original && original->lostParts.empty());
    Mutator mutate(image);
    const auto fields = lengthFields(image);
    const auto starts = sectionStarts(image);
    const auto donors = donorImages();
    Tally tally;
    const int n = mutationsOfEachKind();
    for (int i = 0; i < 4 * n; ++i) {
        std::string damaged;
        std::size_t first = 0;  // the first section damaged
        bool exactly = false;   // that section alone
        if (i < n) {
            damaged = mutate.flipBit();
            std::size_t at = 0;
            while (damaged[at] == image[at]) {
                ++at;
            }
            first = sectionAt(starts, at);
            exactly = true;
        } else if (i < 2 * n) {
            damaged = mutate.truncate();
            first = sectionAt(starts, damaged.size());
        } else if (i < 3 * n) {
            const std::size_t field = fields[static_cast<std::size_t>(i) % fields.size()];
            damaged = mutate.setLength(field);
            first = sectionAt(starts, field);
        } else {
            const std::string& donor = donors[static_cast<std::size_t>(i) % donors.size()];
            const auto from = sectionStarts(donor);
            first = static_cast<std::size_t>(i) / donors.size() % 5;
            damaged = image.substr(0, starts[first]) +
                      donor.substr(from[first], from[first + 1] - from[first]) +
                      image.substr(starts[first + 1]);
            exactly = true;
        }
        const auto reading = readProjectImage(damaged, quiet);
        // Read from a file, the same bytes give the same outcome.
        EXPECT_TRUE(sameReading(readLikeAFile(damaged, quiet, 16 + i % 50), reading)) << i;
        if (!reading) {
            ++tally.refused;
        } else if (!reading->lostParts.empty()) {
            ++tally.salvaged;
            if (!namedTruly(reading->lostParts, first, exactly)) {
                ++tally.misnamed;
                ADD_FAILURE() << "mutation " << i << " in section " << first << " named "
                              << reading->lostParts.front();
            }
        } else if (sameProject(reading->document, original->document)) {
            ++tally.unchanged;
        } else {
            ++tally.silentlyWrong;
        }
    }
    std::cout << "projects, " << 4 * n << " mutations: " << tally << '\n';
    EXPECT_EQ(tally.silentlyWrong, 0);
    EXPECT_EQ(tally.misnamed, 0);
}

TEST(Mutation, AFileCutShortInItsRecordOfChecksKeepsEverySectionAndBlamesNone) {
    // A copy that lost its last bytes: every section is there, only their checks are not.
    // Cut within the record's magic too, down to its first byte.
    ProjectDocument sample;
    cli::buildSampleProject(sample, 4);
    const std::string image = buildProjectImage(sample);
    SilentPrompter quiet;
    const auto whole = readProjectImage(image, quiet);
    ASSERT_TRUE(whole);
    for (std::size_t cut = 1; cut < 32; ++cut) {
        const std::string damaged = image.substr(0, image.size() - cut);
        const auto reading = readProjectImage(damaged, quiet);
        ASSERT_TRUE(reading) << cut;
        EXPECT_TRUE(reading->lostParts.empty()) << cut;
        EXPECT_EQ(reading->integrity, Integrity::Broken) << "the checks are gone: " << cut;
        EXPECT_TRUE(sameProject(reading->document, whole->document)) << cut;
        EXPECT_TRUE(sameReading(readLikeAFile(damaged, quiet, 7), reading)) << cut;
    }
}

TEST(Mutation, AProjectFileThatCannotBeReadToItsEndIsNeverTakenAsWhole) {
    ProjectDocument sample;
    cli::buildSampleProject(sample, 4);
    const std::string image = buildProjectImage(sample);
    SilentPrompter quiet;
    const auto whole = readLikeAFile(image, quiet, 64);
    ASSERT_TRUE(whole && whole->lostParts.empty() && whole->integrity == Integrity::Whole);
    for (std::uint64_t failAt = 0; failAt < image.size(); failAt += 1 + failAt / 7) {
        const auto reading = readLikeAFile(image, quiet, 64, failAt);
        EXPECT_TRUE(!reading || !reading->lostParts.empty()) << "read error at " << failAt;
    }
}

TEST(Mutation, DamagedStructureFilesAreRefused) {
    ProjectDocument sample;
    cli::buildSampleProject(sample, 1);
    const std::string file = buildStructureFile(sample.structure);
    Mutator mutate(file);
    Tally tally;
    const int n = mutationsOfEachKind();
    for (int i = 0; i < 3 * n; ++i) {
        const std::string damaged = i < n       ? mutate.flipBit()
                                    : i < 2 * n ? mutate.truncate()
                                                : mutate.setLength(8);
        const auto snapshot = parseStructureFile(damaged);
        if (!snapshot) {
            ++tally.refused;
        } else if (*snapshot == sample.structure) {
            ++tally.unchanged;
        } else {
            ++tally.silentlyWrong;
        }
    }
    std::cout << "structure files, " << 3 * n << " mutations: " << tally << '\n';
    EXPECT_EQ(tally.silentlyWrong, 0);
}

// Text files carry no check: a damaged line is read as what it now says. What matters is
// that every damaged file is read within its size, and sheets are still all-or-nothing.
TEST(Mutation, DamagedTextFilesAreReadWithinBounds) {
    const std::string materials = toGbk(
        "砂浆\t水泥砂浆1:3\t\t立方米\t320\t\r\n涂料\t乳胶漆\t\t千克\t18\t内墙\r\n"
        "木材\t细木工板\t18厚\t张\t165\t\r\n");
    Mutator mutateMaterials(materials);
    int lines = 0;
    const int n = mutationsOfEachKind();
    for (int i = 0; i < 2 * n; ++i) {
        const std::string damaged = i < n ? mutateMaterials.flipBit() : mutateMaterials.truncate();
        for (const PriceLine& line : parsePriceList(damaged).materials) {
            EXPECT_FALSE(line.fields[0].empty() || line.fields[1].empty());
            EXPECT_TRUE(isBlank(line.fields[4]) || isPlainNumber(line.fields[4]));
            ++lines;
        }
    }
    std::cout << "material texts, " << 2 * n << " mutations: " << lines << " usable lines read\n";

    ProjectDocument project;
    cli::buildSampleProject(project, 0);
    const std::string image = buildProjectImage(project);
    const std::string sheet = toGbk(
        "客厅\t建施-03\t3.6*4.2\t030201\t3.6*2.8\t\t水泥砂浆\t水泥砂浆1:3\t0.02\t\r\n"
        "卧室\t建施-04\t3*3\t030801\t\t10\t涂料\t内墙乳胶漆\t0.3\t东墙\r\n");
    Mutator mutateSheet(sheet);
    int written = 0;
    int refused = 0;
    for (int i = 0; i < 2 * n; ++i) {
        SilentPrompter quiet;
        ProjectDocument copy = std::move(readProjectImage(image, quiet)->document);
        const std::size_t before = copy.locations.size();
        const std::string damaged = i < n ? mutateSheet.flipBit() : mutateSheet.truncate();
        if (importEntrySheet(copy, damaged, quiet).empty()) {
            ++written;
        } else {
            ++refused;
            EXPECT_EQ(copy.locations.size(), before) << "a sheet with problems writes nothing";
        }
    }
    std::cout << "entry sheets, " << 2 * n << " mutations: " << written << " written, " << refused
              << " refused with their problems\n";
}

}  // namespace
}  // namespace tf
