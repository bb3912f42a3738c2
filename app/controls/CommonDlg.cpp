#include "app/controls/CommonDlg.h"

#include <algorithm>

namespace lusheng::app {

DialogKind dialogKindFromValue(int value) {
    return static_cast<DialogKind>(std::clamp(value, 0, 3));
}

QList<FileFilter> parseFileFilter(const QString& filter) {
    QString text = filter;
    while (!text.isEmpty() && text.back().isSpace()) {
        text.chop(1);
    }
    QList<FileFilter> pairs;
    if (text.isEmpty()) {
        return pairs;
    }
    if (!text.endsWith(QStringLiteral("||"))) {
        text += QStringLiteral("||");
    }
    const QStringList parts = text.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            break;
        }
        pairs.append({parts[i], parts[i + 1]});
    }
    return pairs;
}

} // namespace lusheng::app
