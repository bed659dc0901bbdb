#include "gui/widgets/chinese_faces.h"

#include <QFont>
#include <QGuiApplication>
#include <QStringList>

#include "core/print/chinese_faces.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

QStringList faceNames(std::span<const std::string_view> faces) {
    QStringList names;
    for (const auto face : faces) {
        names << qs(face);
    }
    return names;
}

}  // namespace

void useSimplifiedChineseFaces() {
    for (const FaceStandIn& face : chineseFaceStandIns()) {
        QFont::insertSubstitutions(qs(face.asked), faceNames(face.standIns));
    }
    QFont font = QGuiApplication::font();
    QStringList families = font.families();
    if (families.isEmpty()) {
        families << font.family();
    }
    families << faceNames(chineseFallbackFaces());
    font.setFamilies(families);
    QGuiApplication::setFont(font);
}

}  // namespace tf::gui
