// Writes the program's icon as the PNG files of the desktop's icon theme:
// <folder>/<n>x<n>/apps/<name>.png for every size the theme commonly holds.
#include "resources/art.h"
#include "resources/resource.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER NAME\n", argv[0]);
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString sizeFolder = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(side);
        const QImage image = resources::RenderIcon(IDR_MAINFRAME, side);
        if (!QDir().mkpath(sizeFolder) || !image.save(sizeFolder + "/" + name + ".png")) {
            std::fprintf(stderr, "can not write the %dx%d icon in %s\n", side, side,
                         qPrintable(sizeFolder));
            return 1;
        }
    }
    return 0;
}
