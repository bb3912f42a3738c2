#pragma once
// Fonts as the window describes them: a face name (empty: the default face), a character
// height in pixels, a weight and the italic, underline and strike-out flags.

#include <QFont>
#include <QString>

namespace lusheng::app {

inline const QString kSongTi = QStringLiteral("宋体");
inline const QString kMicrosoftYaHei = QStringLiteral("微软雅黑");

struct FontSpec {
    QString face;
    int pixelHeight = 0;
    int weight = 400; // 100..900; 700 is bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// The font keeps the face name it was given; Qt draws it with the installed face that stands in
// for it (see installFontSubstitutes).
QFont makeFont(const FontSpec& spec);

// Maps 宋体 to an installed Song/Ming face and 微软雅黑 to an installed sans face. Call once,
// after the application object exists.
void installFontSubstitutes();

} // namespace lusheng::app
