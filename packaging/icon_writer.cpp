// Saves the game's own "15" picture as the PNG the menu entry shows, so the
// menu and the running window carry the same drawing.
//
//     icon_writer FILE SIZE
#include "ui/Artwork.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    // A build machine may have no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int size = QByteArray(argv[2]).toInt();
    return size > 0 && gamePicture(size).save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
