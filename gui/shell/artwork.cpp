#include "gui/shell/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tf::gui {
namespace {

void drawGlyph(QPainter& p, Glyph glyph, const QRectF& r, const QColor& ink) {
    QPen pen(ink, r.width() / 14.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal w = r.width();
    const qreal x = r.x();
    const qreal y = r.y();
    const auto at = [&](qreal fx, qreal fy) { return QPointF(x + fx * w, y + fy * w); };
    switch (glyph) {
        case Glyph::File:
        case Glyph::Open: {
            QPainterPath folder;
            folder.moveTo(at(0.12, 0.30));
            folder.lineTo(at(0.40, 0.30));
            folder.lineTo(at(0.48, 0.38));
            folder.lineTo(at(0.88, 0.38));
            folder.lineTo(at(0.88, 0.80));
            folder.lineTo(at(0.12, 0.80));
            folder.closeSubpath();
            p.setBrush(QColor(ink.red(), ink.green(), ink.blue(), 60));
            p.drawPath(folder);
            break;
        }
        case Glyph::New: {
            QPainterPath page;
            page.moveTo(at(0.25, 0.12));
            page.lineTo(at(0.62, 0.12));
            page.lineTo(at(0.78, 0.28));
            page.lineTo(at(0.78, 0.88));
            page.lineTo(at(0.25, 0.88));
            page.closeSubpath();
            p.drawPath(page);
            p.drawLine(at(0.40, 0.55), at(0.64, 0.55));
            p.drawLine(at(0.52, 0.43), at(0.52, 0.67));
            break;
        }
        case Glyph::Edit:
            p.drawLine(at(0.22, 0.78), at(0.70, 0.30));
            p.drawLine(at(0.62, 0.22), at(0.78, 0.38));
            p.drawLine(at(0.18, 0.84), at(0.30, 0.80));
            break;
        case Glyph::Help:
            p.drawEllipse(QRectF(at(0.15, 0.15), at(0.85, 0.85)));
            p.drawArc(QRectF(at(0.36, 0.28), at(0.64, 0.52)), 200 * 16, -250 * 16);
            p.drawLine(at(0.50, 0.52), at(0.50, 0.60));
            p.drawPoint(at(0.50, 0.72));
            break;
        case Glyph::Analysis:
        case Glyph::Material: {
            p.drawRect(QRectF(at(0.15, 0.18), at(0.85, 0.82)));
            for (const qreal fy : {0.34, 0.50, 0.66}) {
                p.drawLine(at(0.15, fy), at(0.85, fy));
            }
            p.drawLine(at(glyph == Glyph::Analysis ? 0.38 : 0.30, 0.18),
                       at(glyph == Glyph::Analysis ? 0.38 : 0.30, 0.82));
            break;
        }
        case Glyph::Statistics:
            p.drawLine(at(0.15, 0.85), at(0.85, 0.85));
            p.setBrush(QColor(ink.red(), ink.green(), ink.blue(), 90));
            p.drawRect(QRectF(at(0.22, 0.55), at(0.36, 0.85)));
            p.drawRect(QRectF(at(0.43, 0.30), at(0.57, 0.85)));
            p.drawRect(QRectF(at(0.64, 0.45), at(0.78, 0.85)));
            break;
        case Glyph::Save:
            p.drawRoundedRect(QRectF(at(0.18, 0.18), at(0.82, 0.82)), w * 0.05, w * 0.05);
            p.drawRect(QRectF(at(0.32, 0.18), at(0.68, 0.40)));
            p.drawRect(QRectF(at(0.30, 0.56), at(0.70, 0.82)));
            break;
        case Glyph::Refresh:
            p.drawArc(QRectF(at(0.2, 0.2), at(0.8, 0.8)), 40 * 16, 280 * 16);
            p.drawLine(at(0.74, 0.22), at(0.74, 0.38));
            p.drawLine(at(0.74, 0.38), at(0.58, 0.38));
            break;
        case Glyph::Structure:
            p.drawRect(QRectF(at(0.38, 0.12), at(0.62, 0.30)));
            p.drawRect(QRectF(at(0.12, 0.68), at(0.36, 0.86)));
            p.drawRect(QRectF(at(0.64, 0.68), at(0.88, 0.86)));
            p.drawLine(at(0.50, 0.30), at(0.50, 0.50));
            p.drawLine(at(0.24, 0.50), at(0.76, 0.50));
            p.drawLine(at(0.24, 0.50), at(0.24, 0.68));
            p.drawLine(at(0.76, 0.50), at(0.76, 0.68));
            break;
    }
}

}  // namespace

QIcon glyphIcon(Glyph glyph, const QColor& tint) {
    QIcon icon;
    for (const int size : {24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        drawGlyph(p, glyph, QRectF(0, 0, size, size), tint);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap programIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, QColor(52, 120, 196));
    g.setColorAt(1, QColor(22, 70, 140));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(size * 0.04, size * 0.04, size * 0.92, size * 0.92), size * 0.18,
                      size * 0.18);
    // Three courses of bricks, the top one carrying a "T".
    p.setBrush(QColor(255, 255, 255, 230));
    const qreal brick = size * 0.16;
    for (int course = 0; course < 3; ++course) {
        const qreal y = size * 0.56 + course * brick * 0.72 - brick * 0.7;
        const qreal shift = course % 2 == 0 ? 0 : brick * 0.6;
        for (int i = 0; i < 3; ++i) {
            p.drawRect(
                QRectF(size * 0.18 + shift + i * brick * 1.25, y, brick * 1.1, brick * 0.55));
        }
    }
    p.setBrush(QColor(255, 204, 64));
    p.drawRect(QRectF(size * 0.22, size * 0.14, size * 0.56, size * 0.12));
    p.drawRect(QRectF(size * 0.44, size * 0.14, size * 0.12, size * 0.30));
    return pixmap;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        icon.addPixmap(programIconPixmap(size));
    }
    return icon;
}

QPixmap bannerPixmap(int width, int height) {
    QPixmap pixmap(std::max(width, 1), std::max(height, 1));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, QColor(38, 98, 170));
    g.setColorAt(1, QColor(20, 62, 122));
    p.fillRect(pixmap.rect(), g);
    // A faint brick course along the bottom edge.
    p.setPen(QColor(255, 255, 255, 28));
    for (int x = -20, row = 0; x < width; x += 40) {
        for (row = 0; row < 2; ++row) {
            p.drawRect(x + row * 20, height - 14 - row * 10, 38, 9);
        }
    }
    return pixmap;
}

}  // namespace tf::gui
