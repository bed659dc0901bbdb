#include "core/xlsx/workbook_reader.h"

#include <expat.h>
#include <zip.h>

#include <charconv>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "core/base/number_text.h"

namespace tf {
namespace {

constexpr char kNamespaceSeparator = '|';
constexpr std::size_t kChunk = 64 * 1024;
// Columns past XFD do not exist in a workbook.
constexpr int kLastColumn = 16383;

std::string_view localName(const XML_Char* name) {
    const std::string_view n(name);
    const auto bar = n.rfind(kNamespaceSeparator);
    return bar == std::string_view::npos ? n : n.substr(bar + 1);
}

// The attribute with this local name, whatever its namespace; nullptr when absent.
const char* attribute(const XML_Char** attributes, std::string_view local) {
    for (int i = 0; attributes[i] != nullptr; i += 2) {
        if (localName(attributes[i]) == local) {
            return attributes[i + 1];
        }
    }
    return nullptr;
}

// The archive of a workbook, read part by part within one budget of unpacked bytes.
class Archive {
  public:
    Archive(std::string_view bytes, std::size_t budget) : budget_(budget) {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
        if (source != nullptr) {
            zip_ = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
            if (zip_ == nullptr) {
                zip_source_free(source);
            }
        }
        zip_error_fini(&error);
    }
    ~Archive() {
        if (zip_ != nullptr) {
            zip_discard(zip_);
        }
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool open() const { return zip_ != nullptr; }

    bool has(const std::string& name) const {
        return zip_ != nullptr && zip_name_locate(zip_, name.c_str(), 0) >= 0;
    }

    // Hands the part's bytes to `sink` chunk by chunk; false when the part is missing, damaged
    // (its CRC is checked at its end), over the budget, or the sink refuses.
    bool read(const std::string& name, const std::function<bool(std::string_view)>& sink) {
        const zip_int64_t index = zip_ == nullptr ? -1 : zip_name_locate(zip_, name.c_str(), 0);
        zip_stat_t stat;
        if (index < 0 || zip_stat_index(zip_, static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
            return false;
        }
        if ((stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > budget_) {
            overBudget_ = true;
            return false;
        }
        zip_file_t* file = zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0);
        if (file == nullptr) {
            return false;
        }
        std::unique_ptr<char[]> buffer(new char[kChunk]);
        bool ok = true;
        for (;;) {
            const zip_int64_t n = zip_fread(file, buffer.get(), kChunk);
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            const auto size = static_cast<std::size_t>(n);
            overBudget_ = overBudget_ || size > budget_;
            if (size > budget_ || !sink({buffer.get(), size})) {
                ok = false;
                break;
            }
            budget_ -= size;
        }
        ok = zip_fclose(file) == 0 && ok;
        return ok;
    }

    // Whether a part was refused for the budget.
    bool overBudget() const { return overBudget_; }

  private:
    zip_t* zip_ = nullptr;
    std::size_t budget_;
    bool overBudget_ = false;
};

// A part parsed as a stream of elements; a DTD anywhere refuses the part (no entity tricks).
class XmlPart {
  public:
    virtual ~XmlPart() = default;

    bool parse(Archive& archive, const std::string& name) {
        XML_Parser parser = XML_ParserCreateNS(nullptr, kNamespaceSeparator);
        if (parser == nullptr) {
            return false;
        }
        parser_ = parser;
        XML_SetUserData(parser, this);
        XML_SetElementHandler(
            parser,
            [](void* self, const XML_Char* element, const XML_Char** attributes) {
                static_cast<XmlPart*>(self)->start(localName(element), attributes);
            },
            [](void* self, const XML_Char* element) {
                static_cast<XmlPart*>(self)->end(localName(element));
            });
        XML_SetCharacterDataHandler(parser, [](void* self, const XML_Char* text, int length) {
            static_cast<XmlPart*>(self)->text({text, static_cast<std::size_t>(length)});
        });
        XML_SetStartDoctypeDeclHandler(
            parser, [](void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
                static_cast<XmlPart*>(self)->refuse();
            });
        bool ok = archive.read(name, [&](std::string_view chunk) {
            return XML_Parse(parser, chunk.data(), static_cast<int>(chunk.size()), XML_FALSE) ==
                   XML_STATUS_OK;
        });
        ok = ok && XML_Parse(parser, nullptr, 0, XML_TRUE) == XML_STATUS_OK && !refused_;
        XML_ParserFree(parser);
        parser_ = nullptr;
        return ok;
    }

  protected:
    virtual void start(std::string_view element, const XML_Char** attributes) = 0;
    virtual void end(std::string_view /*element*/) {}
    virtual void text(std::string_view /*text*/) {}

    // Ends the parse as a failure (a part breaking a limit).
    void refuse() {
        refused_ = true;
        XML_StopParser(parser_, XML_FALSE);
    }

  private:
    XML_Parser parser_ = nullptr;
    bool refused_ = false;
};

struct Relationship {
    std::string type;
    std::string target;
};

class RelationshipsPart : public XmlPart {
  public:
    std::map<std::string, Relationship> byId;

  protected:
    void start(std::string_view element, const XML_Char** attributes) override {
        const char* id = attribute(attributes, "Id");
        const char* target = attribute(attributes, "Target");
        if (element == "Relationship" && id != nullptr && target != nullptr) {
            const char* type = attribute(attributes, "Type");
            byId.try_emplace(id, Relationship{type != nullptr ? type : "", target});
        }
    }
};

class WorkbookPart : public XmlPart {
  public:
    std::optional<std::string> firstSheet;  // its relationship id

  protected:
    void start(std::string_view element, const XML_Char** attributes) override {
        if (element == "sheet" && !firstSheet) {
            if (const char* id = attribute(attributes, "id")) {
                firstSheet = id;
            }
        }
    }
};

// Text runs of a string item; phonetic runs (rPh) are readings, not the text.
class RunText {
  public:
    void start(std::string_view element) {
        inText_ = element == "t" && phonetic_ == 0;
        phonetic_ += element == "rPh" ? 1 : 0;
    }
    void end(std::string_view element) {
        inText_ = false;
        phonetic_ -= element == "rPh" && phonetic_ > 0 ? 1 : 0;
    }
    bool inText() const { return inText_; }

  private:
    bool inText_ = false;
    int phonetic_ = 0;
};

class SharedStringsPart : public XmlPart {
  public:
    std::vector<std::string> strings;

  protected:
    void start(std::string_view element, const XML_Char**) override {
        if (element == "si") {
            strings.emplace_back();
        }
        runs_.start(element);
    }
    void end(std::string_view element) override { runs_.end(element); }
    void text(std::string_view text) override {
        if (runs_.inText() && !strings.empty()) {
            strings.back() += text;
        }
    }

  private:
    RunText runs_;
};

// "B12" -> 1; nothing without leading letters or past the last column.
std::optional<int> columnOfReference(std::string_view reference) {
    int column = 0;
    std::size_t i = 0;
    for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z'; ++i) {
        column = column * 26 + (reference[i] - 'A' + 1);
        if (column - 1 > kLastColumn) {
            return kLastColumn + 1;
        }
    }
    return i == 0 ? std::nullopt : std::optional<int>(column - 1);
}

std::string numberText(std::string_view value) {
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    return error == std::errc() && end == value.data() + value.size() ? formatNumber(number)
                                                                      : std::string(value);
}

class SheetPart : public XmlPart {
  public:
    SheetPart(const std::vector<std::string>& strings, int columns, std::size_t budget)
        : strings_(strings), columns_(columns), budget_(budget) {}

    std::vector<SheetRow> rows;
    // Whether the sheet was refused for holding more than the budget.
    bool overBudget() const { return overBudget_; }

  protected:
    void start(std::string_view element, const XML_Char** attributes) override {
        if (element == "row") {
            row_ = SheetRow{};
            row_.cells.resize(static_cast<std::size_t>(columns_));
            const char* number = attribute(attributes, "r");
            int r = 0;
            if (number != nullptr) {
                std::from_chars(number, number + std::strlen(number), r);
            }
            row_.number = r > 0 ? r : lastRow_ + 1;
            lastRow_ = row_.number;
            any_ = false;
            inRow_ = true;
            inCell_ = false;
            nextColumn_ = 0;
        } else if (element == "c" && inRow_) {  // a cell outside a row belongs nowhere
            const char* reference = attribute(attributes, "r");
            const auto column = reference != nullptr ? columnOfReference(reference) : nextColumn_;
            column_ = column.value_or(nextColumn_);
            const char* type = attribute(attributes, "t");
            type_ = type != nullptr ? type : "n";
            value_.clear();
            inCell_ = true;
            formula_ = false;
        } else if (element == "f" && inCell_) {
            formula_ = true;
        } else if (element == "v" || element == "is") {
            inValue_ = element == "v";
        }
        runs_.start(element);
    }

    void end(std::string_view element) override {
        runs_.end(element);
        if (element == "v") {
            inValue_ = false;
        } else if (element == "c" && std::exchange(inCell_, false) && inRow_) {
            place();
        } else if (element == "row" && std::exchange(inRow_, false) && any_) {
            const std::size_t cost = sizeof(SheetRow) + row_.cells.size() * sizeof(std::string);
            if (!charge(cost)) {
                return;
            }
            rows.push_back(std::move(row_));
        }
    }

    void text(std::string_view text) override {
        if (inCell_ && (inValue_ || runs_.inText())) {
            if (!charge(text.size())) {
                return;
            }
            value_ += text;
        }
    }

  private:
    bool charge(std::size_t bytes) {
        if (bytes > budget_) {
            overBudget_ = true;
            refuse();
            return false;
        }
        budget_ -= bytes;
        return true;
    }

    std::string cellText() {
        if (type_ == "s") {
            std::size_t index = strings_.size();
            std::from_chars(value_.data(), value_.data() + value_.size(), index);
            return index < strings_.size() ? strings_[index] : std::string();
        }
        if (type_ == "b") {
            return value_ == "1" ? "TRUE" : "FALSE";
        }
        if (type_ == "n") {
            return numberText(value_);
        }
        return std::move(value_);  // inline strings, formula strings, errors, dates
    }

    void place() {
        nextColumn_ = column_ + 1;
        if (column_ >= columns_) {
            return;
        }
        std::string text = cellText();
        if (!text.empty() && charge(text.size())) {
            row_.cells[static_cast<std::size_t>(column_)] = std::move(text);
            any_ = true;
        } else if (text.empty() && formula_ && charge(sizeof(int))) {
            row_.uncomputed.push_back(column_);
            any_ = true;
        }
    }

    const std::vector<std::string>& strings_;
    int columns_;
    std::size_t budget_;
    SheetRow row_;
    bool inRow_ = false;
    bool any_ = false;
    int nextColumn_ = 0;
    int column_ = 0;
    std::string type_;
    std::string value_;
    bool inCell_ = false;
    bool inValue_ = false;
    bool formula_ = false;
    bool overBudget_ = false;
    int lastRow_ = 0;
    RunText runs_;
};

// A relationship's target as a part name: relative to the folder of the part that holds
// it, or from the root when it starts with '/'; "." and ".." resolved.
std::string partName(const std::string& folder, const std::string& target) {
    const std::string joined = !target.empty() && target[0] == '/' ? target : folder + target;
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t slash = std::min(joined.find('/', start), joined.size());
        const std::string segment = joined.substr(start, slash - start);
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string name;
    for (const std::string& segment : segments) {
        name += (name.empty() ? "" : "/") + segment;
    }
    return name;
}

std::string folderOf(const std::string& part) {
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string relationshipsOf(const std::string& part) {
    const auto slash = part.rfind('/');
    const std::string name = slash == std::string::npos ? part : part.substr(slash + 1);
    return folderOf(part) + "_rels/" + name + ".rels";
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// readFirstSheet's work; `fault` says why when it gives nothing.
std::optional<std::vector<SheetRow>> readSheet(std::string_view bytes, int columns,
                                               std::size_t unpackedLimit, WorkbookFault& fault) {
    Archive archive(bytes, unpackedLimit);
    if (!archive.open() || columns < 0) {
        return std::nullopt;
    }
    // Every part read through the archive: one over the budget makes the workbook too large.
    const auto refused = [&] {
        fault = archive.overBudget() ? WorkbookFault::TooLarge : WorkbookFault::Damaged;
        return std::nullopt;
    };
    std::string workbook = "xl/workbook.xml";
    RelationshipsPart root;
    if (archive.has("_rels/.rels")) {
        if (!root.parse(archive, "_rels/.rels")) {
            return refused();
        }
        for (const auto& [id, relationship] : root.byId) {
            if (endsWith(relationship.type, "/officeDocument")) {
                workbook = partName("", relationship.target);
            }
        }
    }
    WorkbookPart book;
    RelationshipsPart links;
    if (!book.parse(archive, workbook) || !book.firstSheet ||
        !links.parse(archive, relationshipsOf(workbook))) {
        return refused();
    }
    const auto sheet = links.byId.find(*book.firstSheet);
    if (sheet == links.byId.end()) {
        return refused();
    }
    SharedStringsPart shared;
    for (const auto& [id, relationship] : links.byId) {
        if (endsWith(relationship.type, "/sharedStrings") &&
            !shared.parse(archive, partName(folderOf(workbook), relationship.target))) {
            return refused();
        }
    }
    SheetPart rows(shared.strings, columns, unpackedLimit);
    if (!rows.parse(archive, partName(folderOf(workbook), sheet->second.target))) {
        refused();
        if (rows.overBudget()) {
            fault = WorkbookFault::TooLarge;
        }
        return std::nullopt;
    }
    return std::move(rows.rows);
}

}  // namespace

std::optional<std::vector<SheetRow>> readFirstSheet(std::string_view bytes, int columns,
                                                    std::size_t unpackedLimit, WorkbookFault* why) {
    WorkbookFault fault = WorkbookFault::Damaged;
    auto rows = readSheet(bytes, columns, unpackedLimit, fault);
    if (!rows && why != nullptr) {
        *why = looksLikeWorkbook(bytes) ? fault : WorkbookFault::NotAWorkbook;
    }
    return rows;
}

}  // namespace tf
