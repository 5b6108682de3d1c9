#include "toolkit/qt/fonts.h"

#include <fontconfig/fontconfig.h>

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <cmath>
#include <map>

#include "toolkit/form_rules.h"

namespace toolkit::qt {
namespace {

// The face itself, then those that stand in for it, best first.
QStringList Candidates(const std::string& face) {
    QStringList candidates{QString::fromStdString(face)};
    for (std::string_view fallback : FaceFallbacks(face))
        candidates.append(
            QString::fromUtf8(fallback.data(), static_cast<qsizetype>(fallback.size())));
    return candidates;
}

// Wine's tahomabd.ttf is only a wider regular face; without it Qt emboldens tahoma.ttf, which
// comes much closer to Tahoma Bold.
constexpr struct {
    const char *path, *family;
} kWineFaces[] = {{"/usr/share/wine/fonts/tahoma.ttf", "Tahoma"},
                  {"/usr/share/wine/fonts/ms_sans_serif.ttf", "MS Sans Serif"}};

// Qt lists the Wine faces with the others when fontconfig had them first; when Qt had listed
// the fonts before (an application made before the toolkit), Qt is given them itself.
void MakeSureQtHasTheWineFaces() {
    static const bool done = [] {
        const QStringList families = QFontDatabase::families();
        for (const auto& face : kWineFaces) {
            if (!families.contains(face.family) && QFile::exists(face.path))
                QFontDatabase::addApplicationFont(face.path);
        }
        return true;
    }();
    (void)done;
}

}  // namespace

void RegisterCompatibleFonts() {
    // Qt's own addApplicationFont, once the application exists, reads and parses each face
    // again beside fontconfig's query of it and marks Qt's font list stale; given to
    // fontconfig before Qt first lists the fonts, they cost fontconfig's query alone.
    for (const auto& face : kWineFaces)
        FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(face.path));
}

QString ResolveFace(const std::string& face) {
    MakeSureQtHasTheWineFaces();
    // The font list is fixed once the program's faces are registered: look each face up once.
    static std::map<std::string, QString> resolved;
    if (const auto known = resolved.find(face); known != resolved.end())
        return known->second;
    // A face made of bitmaps only is drawn at its own size whatever the scale: on a scaled
    // screen its letters stay small in cells made wide for them. Take the next face there.
    const bool scaled = qGuiApp && qGuiApp->devicePixelRatio() != 1.0;
    const QStringList families = QFontDatabase::families();
    const QStringList candidates = Candidates(face);
    QString chosen = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    for (const QString& candidate : candidates) {
        if (families.contains(candidate, Qt::CaseInsensitive) &&
            (!scaled || QFontDatabase::isSmoothlyScalable(candidate))) {
            chosen = candidate;
            break;
        }
    }
    return resolved[face] = chosen;
}

void DrawEveryCharacterAlone(QFont& font) {
    // Qt's shaping would join letters into ligatures (Wine's MS Sans Serif draws "TM" as a
    // trademark sign). Without shaping each character gets its own glyph; a letter spacing
    // of exactly 100 % changes no advance but turns ligatures off where shaping still runs,
    // as in fonts that QScintilla builds from the application's font.
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    font.setLetterSpacing(QFont::PercentageSpacing, 100.0);
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
    DrawEveryCharacterAlone(font);
    return font;
}

}  // namespace toolkit::qt
