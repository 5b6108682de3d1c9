#include "toolkit/qt/fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <cmath>
#include <map>

namespace toolkit::qt {
namespace {

// Metric-compatible or nearest faces, best first.
const std::map<std::string, QStringList>& Substitutes() {
    static const std::map<std::string, QStringList> table = {
        {"Verdana", {"Verdana", "DejaVu Sans"}},
        {"Tahoma", {"Tahoma", "DejaVu Sans"}},
        {"MS Sans Serif", {"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "DejaVu Sans"}},
    };
    return table;
}

}  // namespace

void RegisterCompatibleFonts() {
    // Wine's tahomabd.ttf is only a wider regular face; without it Qt emboldens tahoma.ttf,
    // which comes much closer to Tahoma Bold.
    const QDir wineFonts("/usr/share/wine/fonts");
    for (const char* file : {"tahoma.ttf", "ms_sans_serif.ttf"}) {
        if (wineFonts.exists(file))
            QFontDatabase::addApplicationFont(wineFonts.filePath(file));
    }
}

QString ResolveFace(const std::string& face) {
    // The font list is fixed once the program's faces are registered: look each face up once.
    static std::map<std::string, QString> resolved;
    if (const auto known = resolved.find(face); known != resolved.end())
        return known->second;
    const QStringList families = QFontDatabase::families();
    const auto it = Substitutes().find(face);
    const QStringList candidates =
        it != Substitutes().end() ? it->second : QStringList{QString::fromStdString(face)};
    QString chosen = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    for (const QString& candidate : candidates) {
        if (families.contains(candidate, Qt::CaseInsensitive)) {
            chosen = candidate;
            break;
        }
    }
    return resolved[face] = chosen;
}

QFont ToQFont(const FontDesc& layout) {
    const QString face = ResolveFace(layout.face);
    QFont font(face);
    // Wine's Tahoma carries hints that misdraw some letters at small sizes.
    if (face == QLatin1String("Tahoma"))
        font.setHintingPreference(QFont::PreferNoHinting);
    font.setPixelSize(static_cast<int>(std::lround(layout.points * 96.0 / 72.0)));
    font.setBold(layout.bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace toolkit::qt
