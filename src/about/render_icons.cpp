// Writes the program icon as PNG files for the hicolor icon theme:
//   ritmova-render-icons OUTPUT_DIR SIZE...
// gives OUTPUT_DIR/<size>x<size>/apps/ritmova.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "about/app_icon.h"

namespace {

bool WriteIcon(const QString& outputDir, int size) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outputDir).arg(size);
    return QDir().mkpath(folder) &&
           ritmova::RenderAppIcon(size).save(folder + QStringLiteral("/ritmova.png"), "PNG");
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 3) {
        std::fputs("usage: ritmova-render-icons OUTPUT_DIR SIZE...\n", stderr);
        return 2;
    }
    for (qsizetype index = 2; index < arguments.size(); ++index) {
        bool isNumber = false;
        const int size = arguments[index].toInt(&isNumber);
        if (!isNumber || size <= 0 || !WriteIcon(arguments[1], size)) {
            std::fprintf(stderr, "ritmova-render-icons: cannot write the %s icon\n",
                         qPrintable(arguments[index]));
            return 1;
        }
    }
    return 0;
}
