#pragma once

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QString>
#include <bitset>
#include <filesystem>

#include "core/base/prompter.h"

#include "core/print/pdf_unicode_map.h"

namespace tf::gui {

// What was drawn on the pages of a PDF, by font, so that its text layer can be made to say
// it: Qt names each glyph by the lowest code point the face maps to it, and in the CJK faces
// that is often a radical or a rare variant (⽔ for 水, ⻚ for 页, 㬵 for 胶).
class DrawnText {
  public:
    void add(const QFont& font, const QString& text);

    // Every code point the text layer names but nothing drew, by the drawn one that shares
    // its glyph in the face that drew it.
    CodePointMap corrections() const;

  private:
    struct Drawn {
        QFont font;
        std::bitset<0x10000> characters;
    };
    QHash<QString, Drawn> byFont_;
};

// The PDF with its text layer naming what was drawn.
void correctTextLayer(QByteArray& pdf, const DrawnText& drawn);
// The same for a PDF another writer (the print dialog's print to file) has written; what
// fails is told.
void correctTextLayerOfFile(const std::filesystem::path& file, const DrawnText& drawn,
                            Prompter& prompter);

}  // namespace tf::gui
