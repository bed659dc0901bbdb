#include "gui/attach/attachment_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tf::gui {
namespace {

constexpr int kSize = 32;

struct FileLook {
    QColor band;
    const char* mark;
};

// A page with a folded corner and a coloured band carrying the type's mark.
QPixmap page(const FileLook& look) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath sheet;
    sheet.moveTo(6, 2);
    sheet.lineTo(20, 2);
    sheet.lineTo(27, 9);
    sheet.lineTo(27, 30);
    sheet.lineTo(6, 30);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(110, 110, 110), 1.2));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setBrush(QColor(225, 225, 225));
    p.drawPolygon(QPolygonF({QPointF(20, 2), QPointF(20, 9), QPointF(27, 9)}));
    if (look.band.isValid()) {
        p.setPen(Qt::NoPen);
        p.setBrush(look.band);
        p.drawRoundedRect(QRectF(2, 15, 22, 12), 2, 2);
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 15, 22, 12), Qt::AlignCenter, look.mark);
    }
    return pixmap;
}

QPixmap picture() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.setBrush(QColor(170, 215, 245));
    p.drawRect(QRectF(3, 6, 26, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 40));
    p.drawEllipse(QPointF(22, 12), 3, 3);
    p.setBrush(QColor(60, 150, 70));
    p.drawPolygon(QPolygonF({QPointF(4, 25), QPointF(12, 13), QPointF(19, 25)}));
    p.setBrush(QColor(40, 120, 55));
    p.drawPolygon(QPolygonF({QPointF(13, 25), QPointF(20, 17), QPointF(28, 25)}));
    return pixmap;
}

QPixmap media() {
    QPixmap pixmap = page({});
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 60, 160));
    p.drawEllipse(QPointF(12, 24), 3.5, 2.8);
    p.drawEllipse(QPointF(21, 22), 3.5, 2.8);
    p.setPen(QPen(QColor(150, 60, 160), 2));
    p.drawLine(QPointF(15, 24), QPointF(15, 12));
    p.drawLine(QPointF(24, 22), QPointF(24, 10));
    p.drawLine(QPointF(15, 12), QPointF(24, 10));
    return pixmap;
}

}  // namespace

QIcon attachmentFileIcon(int kind) {
    switch (kind) {
        case 0:
            return QIcon(page({QColor(200, 60, 50), "CAD"}));
        case 1:
            return QIcon(page({QColor(40, 90, 180), "W"}));
        case 2:
            return QIcon(page({QColor(30, 130, 70), "X"}));
        case 3:
            return QIcon(page({QColor(120, 120, 120), "T"}));
        case 5:
            return QIcon(picture());
        case 6:
            return QIcon(media());
        default:
            return QIcon(page({}));
    }
}

QIcon attachmentFolderIcon() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(170, 125, 20), 1.2));
    p.setBrush(QColor(240, 195, 70));
    QPainterPath folder;
    folder.moveTo(3, 8);
    folder.lineTo(12, 8);
    folder.lineTo(15, 11);
    folder.lineTo(29, 11);
    folder.lineTo(29, 27);
    folder.lineTo(3, 27);
    folder.closeSubpath();
    p.drawPath(folder);
    p.setBrush(QColor(250, 215, 110));
    p.drawRect(QRectF(3, 14, 26, 13));
    return QIcon(pixmap);
}

}  // namespace tf::gui
