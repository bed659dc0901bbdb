#include "gui/widgets/wrapped_text.h"

#include <QFontMetrics>
#include <QTextLayout>

namespace tf::gui {

QStringList wrapCellText(const QString& text, const QFont& font, int width, int maxLines) {
    QStringList lines;
    if (text.isEmpty() || width <= 0 || maxLines <= 0) {
        return lines;
    }
    QTextLayout layout(text);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFont(font);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() + 1 == maxLines) {
            // The last line that fits takes the rest, cut if it is too long.
            lines << QFontMetrics(font).elidedText(text.mid(line.textStart()).remove('\n'),
                                                   Qt::ElideRight, width);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).remove('\n');
    }
    layout.endLayout();
    return lines;
}

}  // namespace tf::gui
