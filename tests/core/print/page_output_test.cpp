// The page a sheet prints on, kept per table, and the text layer of the PDFs written.
#include <gtest/gtest.h>

#include "core/print/page_setup.h"
#include "core/print/pdf_unicode_map.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

// A ToUnicode map as Qt writes it: one glyph, a list of glyphs, a run of glyphs, a ligature.
constexpr std::string_view kWrittenMap =
    "5 0 obj\n<< /Length 400 >>\nstream\n"
    "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
    "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
    "2 beginbfchar\n<0007> <2F54>\n<0008> <00660069>\nendbfchar\n"
    "3 beginbfrange\n<0000> <0000> <0000>\n"
    "<0001> <0004> [<6750> <2F54> <3B35> <2EDA>]\n"
    "<0005> <0006> <2F54>\n<0009> <0009> <2F76>\nendbfrange\n"
    "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n"
    "endstream\nendobj\n";

TEST(PdfTextLayer, EveryCodePointOfAGlyphBecomesTheDrawnOneAndNoByteMoves) {
    // ⽔ → 水, 㬵 → 胶, ⻚ → 页, ⽶ → 米, as the faces share their glyphs.
    const CodePointMap drawn = {
        {0x2F54, 0x6C34}, {0x3B35, 0x80F6}, {0x2EDA, 0x9875}, {0x2F76, 0x7C73}};
    std::string pdf = "%PDF-1.4\n" + std::string(kWrittenMap) + "xref\n";
    const std::string before = pdf;
    EXPECT_EQ(correctToUnicodeMaps(pdf, drawn), 5);
    ASSERT_EQ(pdf.size(), before.size());
    EXPECT_NE(pdf.find("<0007> <6C34>"), std::string::npos) << "a single glyph";
    EXPECT_NE(pdf.find("<0008> <00660069>"), std::string::npos) << "a ligature stays";
    EXPECT_NE(pdf.find("[<6750> <6C34> <80F6> <9875>]"), std::string::npos) << "a list";
    EXPECT_NE(pdf.find("<0005> <0006> <2F54>"), std::string::npos)
        << "a run of two glyphs counts on from its start: it is not the drawn character";
    EXPECT_NE(pdf.find("<0009> <0009> <7C73>"), std::string::npos) << "a run of one glyph";
    EXPECT_NE(pdf.find("<0000> <FFFF>"), std::string::npos) << "the code space stays";

    // Nothing to correct, or no map of the writer's: the bytes stay as they are.
    std::string other = before;
    EXPECT_EQ(correctToUnicodeMaps(other, {}), 0);
    std::string compressed = "%PDF-1.4\nbeginbfchar\n<0007> <2F54>\nendbfchar\n";
    EXPECT_EQ(correctToUnicodeMaps(compressed, drawn), 0);
    EXPECT_EQ(other, before);
}

TEST(PdfTextLayer, MapsCutShortOrMalformedAreLeftWithoutReadingBeyondThem) {
    const CodePointMap drawn = {{0x2F54, 0x6C34}};
    const std::string whole(kWrittenMap);
    for (std::size_t cut = 0; cut < whole.size(); cut += 7) {
        std::string pdf = whole.substr(0, cut);
        const std::string before = pdf;
        correctToUnicodeMaps(pdf, drawn);
        EXPECT_EQ(pdf.size(), before.size()) << cut;
    }
    std::string odd =
        "/CIDInit /ProcSet findresource begin\n1 beginbfrange\n<0001> <0002> [<2F54> <zz"
        "\nendbfrange\n1 beginbfchar\n<0001 <2F54>\n<00> <2F54>\nendbfchar\nendcmap";
    const std::string before = odd;
    EXPECT_EQ(correctToUnicodeMaps(odd, drawn), 1) << "the first list entry, then nothing";
    EXPECT_EQ(odd.size(), before.size());
}

TEST(PageSetup, KeptPerTableAndReadBackOnlyWhenItIsAPrintablePage) {
    test::TempDir dir;
    AppSettings settings(dir / "Brix.ini");
    PrintSheet analysis;
    analysis.source = PrintSource::Analysis;
    PrintSheet items;
    items.source = PrintSource::Statistics;
    items.itemSummary = true;
    EXPECT_EQ(pageSetupKey(analysis), "分析表");
    EXPECT_EQ(pageSetupKey(items), "分统计表");

    EXPECT_EQ(keptPageSetup(settings, "分析表"), PageSetup{}) << "A4, automatic, 12 mm";
    PageSetup upright;
    upright.orientation = PageSetup::Orientation::Portrait;
    upright.left = upright.right = upright.top = upright.bottom = 25;
    upright.paperWidth = 297;  // A3
    upright.paperHeight = 420;
    keepPageSetup(settings, "分析表", upright);
    EXPECT_EQ(settings.text("页面设置", "分析表"), "portrait 297 420 25 25 25 25");
    EXPECT_EQ(keptPageSetup(AppSettings(dir / "Brix.ini"), "分析表"), upright);
    EXPECT_EQ(keptPageSetup(settings, "材料表"), PageSetup{}) << "another table keeps its own";

    const auto landscape = parsePageSetup(" landscape  210 297 12.5 10 12.5 10 ");
    ASSERT_TRUE(landscape);
    EXPECT_EQ(landscape->orientation, PageSetup::Orientation::Landscape);
    EXPECT_EQ(landscape->left, 12.5);
    for (const char* bad :
         {"", "portrait", "sideways 210 297 1 1 1 1", "portrait 210 297 1 1 1",
          "portrait 210 297 1 1 1 1 1", "portrait 210 x 1 1 1 1", "portrait 40 297 1 1 1 1",
          "portrait 210 3000 1 1 1 1", "portrait 210 297 -1 1 1 1", "portrait 210 297 60 1 60 1",
          "portrait 1e400 297 1 1 1 1"}) {
        EXPECT_FALSE(parsePageSetup(bad)) << bad;
    }
}

}  // namespace
}  // namespace tf
