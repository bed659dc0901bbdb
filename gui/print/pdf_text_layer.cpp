#include "gui/print/pdf_text_layer.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <string>
#include <utility>
#include <vector>

#include "core/base/file_bytes.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"

namespace tf::gui {
namespace {

constexpr int kCodePoints = 0x10000;
// A PDF of a million rows is some hundreds of megabytes; what is larger is left as it is.
constexpr std::size_t kLargestPdf = std::size_t{4} << 30;

bool isSurrogate(int c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// For each glyph of a face, the lowest code point that maps to it: what the writer names it.
class LowestCodes {
  public:
    char16_t of(const QRawFont& face, quint32 glyph) {
        for (const auto& [known, lowest] : faces_) {
            if (known == face) {
                return glyph < lowest.size() ? lowest[glyph] : 0;
            }
        }
        faces_.emplace_back(face, lowestOf(face));
        const auto& lowest = faces_.back().second;
        return glyph < lowest.size() ? lowest[glyph] : 0;
    }

  private:
    static std::vector<char16_t> lowestOf(const QRawFont& face) {
        std::vector<QChar> all(kCodePoints);
        for (int c = 0; c < kCodePoints; ++c) {
            all[static_cast<std::size_t>(c)] = QChar(isSurrogate(c) ? 0 : c);
        }
        std::vector<quint32> glyphs(kCodePoints, 0);
        int count = kCodePoints;
        if (!face.glyphIndexesForChars(all.data(), kCodePoints, glyphs.data(), &count) ||
            count != kCodePoints) {
            return {};
        }
        std::vector<char16_t> lowest;
        for (int c = kCodePoints - 1; c > 0; --c) {  // downwards: the lowest is written last
            const quint32 glyph = glyphs[static_cast<std::size_t>(c)];
            if (glyph == 0 || isSurrogate(c)) {
                continue;
            }
            if (glyph >= lowest.size()) {
                lowest.resize(glyph + 1, 0);
            }
            lowest[glyph] = static_cast<char16_t>(c);
        }
        return lowest;
    }

    std::vector<std::pair<QRawFont, std::vector<char16_t>>> faces_;
};

}  // namespace

void DrawnText::add(const QFont& font, const QString& text) {
    Drawn& drawn = byFont_[font.key()];
    if (drawn.characters.none()) {
        drawn.font = font;
    }
    for (const QChar c : text) {
        drawn.characters.set(c.unicode());
    }
}

CodePointMap DrawnText::corrections() const {
    std::bitset<kCodePoints> everything;
    for (const Drawn& drawn : byFont_) {
        everything |= drawn.characters;
    }
    LowestCodes lowest;
    CodePointMap corrected;
    for (const Drawn& drawn : byFont_) {
        for (int c = 0x20; c < kCodePoints; ++c) {
            if (!drawn.characters.test(static_cast<std::size_t>(c)) || isSurrogate(c)) {
                continue;
            }
            // The face that draws the character, a fallback face included.
            QTextLayout layout(QString(QChar(c)), drawn.font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            if (runs.size() != 1 || runs[0].glyphIndexes().size() != 1) {
                continue;
            }
            const char16_t named = lowest.of(runs[0].rawFont(), runs[0].glyphIndexes()[0]);
            if (named != 0 && named != c && !everything.test(named)) {
                corrected.emplace(named, static_cast<char16_t>(c));
            }
        }
    }
    return corrected;
}

void correctTextLayer(QByteArray& pdf, const DrawnText& drawn) {
    const CodePointMap corrected = drawn.corrections();
    if (corrected.empty()) {
        return;
    }
    std::string bytes = pdf.toStdString();
    if (correctToUnicodeMaps(bytes, corrected) > 0) {
        pdf = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
}

void correctTextLayerOfFile(const std::filesystem::path& file, const DrawnText& drawn,
                            Prompter& prompter) {
    const CodePointMap corrected = drawn.corrections();
    if (corrected.empty()) {
        return;
    }
    auto bytes = readFileBytes(utf8FromPath(file), kLargestPdf);
    if (bytes && correctToUnicodeMaps(*bytes, corrected) > 0) {
        writeFileTelling(file, *bytes, prompter);
    }
}

}  // namespace tf::gui
