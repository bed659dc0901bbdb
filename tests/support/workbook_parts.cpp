#include "tests/support/workbook_parts.h"

#include <zip.h>

#include <stdexcept>

#include "tests/support/temp_dir.h"

namespace tf::test {
namespace {

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

}  // namespace

std::string zipOf(const std::vector<std::pair<std::string, std::string>>& parts) {
    TempDir dir;
    const std::string path = utf8FromPath(dir / "parts.zip");
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (zip == nullptr) {
        throw std::runtime_error("zip_open failed");
    }
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        if (source == nullptr || zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(zip);
            throw std::runtime_error("zip_file_add failed");
        }
    }
    if (zip_close(zip) != 0) {
        zip_discard(zip);
        throw std::runtime_error("zip_close failed");
    }
    return readFile(path);
}

std::vector<std::pair<std::string, std::string>> workbookParts(const std::string& sheetData,
                                                               const std::string& sharedStrings) {
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    std::string links = head +
                        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                        "relationships\"><Relationship Id=\"rId1\" Type=\"" +
                        kRelationships + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>";
    if (!sharedStrings.empty()) {
        links += std::string("<Relationship Id=\"rId2\" Type=\"") + kRelationships +
                 "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
    }
    links += "</Relationships>";
    std::vector<std::pair<std::string, std::string>> parts = {
        {"_rels/.rels", head +
                            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                            "relationships\"><Relationship Id=\"rId1\" Type=\"" +
                            kRelationships +
                            "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", head + "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRelationships +
                                "\"><sheets><sheet name=\"价格\" sheetId=\"1\" "
                                "r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels", links},
        {"xl/worksheets/sheet1.xml", head + "<worksheet xmlns=\"" + kMain + "\"><sheetData>" +
                                         sheetData + "</sheetData></worksheet>"}};
    if (!sharedStrings.empty()) {
        parts.emplace_back("xl/sharedStrings.xml",
                           head + "<sst xmlns=\"" + kMain + "\">" + sharedStrings + "</sst>");
    }
    return parts;
}

std::string workbookOf(const std::string& sheetData, const std::string& sharedStrings) {
    return zipOf(workbookParts(sheetData, sharedStrings));
}

}  // namespace tf::test
