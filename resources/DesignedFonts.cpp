#include "DesignedFonts.h"

#include <QFontDatabase>
#include <QString>

static void initFontResources() {
    Q_INIT_RESOURCE(fonts);
}

namespace DesignedFonts {

bool registerAll() {
    initFontResources();
    bool all = true;
    for (const char* file : {"LiberationSans-Regular", "LiberationSans-Bold", "LiberationMono-Regular"}) {
        const QString path = QStringLiteral(":/quillon/fonts/%1.ttf").arg(QLatin1String(file));
        all = QFontDatabase::addApplicationFont(path) >= 0 && all;
    }
    return all;
}

} // namespace DesignedFonts
