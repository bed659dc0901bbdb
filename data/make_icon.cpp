// Writes the program icon "Brix.ico" (the shell shows it for project files) and, given a
// folder, the icon as PNG at the sizes a desktop's icon theme asks for.
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>

#include "gui/shell/artwork.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        return 2;
    }
    QImageWriter ico(QString::fromLocal8Bit(argv[1]), "ico");
    if (!ico.write(tf::gui::programIconPixmap(48).toImage())) {
        return 1;
    }
    if (argc == 3) {
        const QDir folder(QString::fromLocal8Bit(argv[2]));
        if (!folder.mkpath(".")) {
            return 1;
        }
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            QImageWriter png(folder.filePath(QStringLiteral("tallyframe-%1.png").arg(size)), "png");
            if (!png.write(tf::gui::programIconPixmap(size).toImage())) {
                return 1;
            }
        }
    }
    return 0;
}
