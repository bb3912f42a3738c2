#include "app/Fonts.h"

#include <QApplication>
#include <QStringList>

namespace lusheng::app {

QFont makeFont(const FontSpec& spec) {
    QFont font = spec.face.isEmpty() ? QApplication::font() : QFont(spec.face);
    if (spec.pixelHeight > 0) {
        font.setPixelSize(spec.pixelHeight);
    }
    font.setWeight(static_cast<QFont::Weight>(spec.weight));
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    return font;
}

void installFontSubstitutes() {
    // In order of preference; Qt takes the first one installed.
    QFont::insertSubstitutions(
        kSongTi, {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB"),
                  QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Serif SC"),
                  QStringLiteral("Noto Sans CJK SC")});
    QFont::insertSubstitutions(
        kMicrosoftYaHei, {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                          QStringLiteral("Source Han Sans SC"), QStringLiteral("WenQuanYi Zen Hei"),
                          QStringLiteral("Droid Sans Fallback")});
}

} // namespace lusheng::app
