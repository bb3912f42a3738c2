#pragma once
// The program's name, version and credits as the window and its messages show them.

#include <QString>

namespace lusheng::app {

inline const QString kProductName = QStringLiteral("鹭笙语音阅读器V1.0");
inline const QString kAuthorName = QStringLiteral("鹭笙");
inline const QString kAuthorContact = QStringLiteral("lusheng-reader@users.noreply.invalid");

// "鹭笙语音阅读器V1.0", two spaces, then "作者：" with the author's name and contact.
inline QString windowCaption() {
    return kProductName + QStringLiteral("  作者：") + kAuthorName + QLatin1Char(' ') +
           kAuthorContact;
}

} // namespace lusheng::app
