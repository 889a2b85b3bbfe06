// tovrik-icon-png FOLDER SIZE...: the program's icon as FOLDER/<size>x<size>/apps/tovrikocr.png
// for each size, the hicolor theme's layout. Run by the build; the icons are drawn by the same
// code as the program's windows and tray use.

#include "app/linux/AppIcon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: tovrik-icon-png FOLDER SIZE...\n", stderr);
        return 2;
    }
    // Pixmaps need a QGuiApplication, not a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (end == argv[i] || *end != '\0' || size < 16 || size > 1024) {
            std::fprintf(stderr, "tovrik-icon-png: %s is no icon size (16 to 1024)\n", argv[i]);
            return 2;
        }
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString file = apps + QStringLiteral("/tovrikocr.png");
        if (!QDir().mkpath(apps) || !tovrik::app::AppIconPixmap(static_cast<int>(size)).save(file, "PNG")) {
            std::fprintf(stderr, "tovrik-icon-png: cannot write %s\n", file.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
