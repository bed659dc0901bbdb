// Writes the program icon "Brix.ico" (the shell shows it for project files).
#include <QGuiApplication>
#include <QImageWriter>

#include "gui/shell/artwork.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    QImageWriter writer(QString::fromLocal8Bit(argv[1]), "ico");
    return writer.write(tf::gui::programIconPixmap(48).toImage()) ? 0 : 1;
}
