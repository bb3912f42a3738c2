#include "app/BackgroundPicture.h"

#include "app/JpegDecoder.h"

#include <QFile>

namespace lusheng::app {

QByteArray builtInBackgroundJpeg() {
    QFile file(QStringLiteral(":/lusheng/background.jpg"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QImage decodeBackgroundPicture(const QByteArray& jpeg) {
    const auto picture = decodeJpeg(std::span(reinterpret_cast<const std::uint8_t*>(jpeg.data()),
                                              static_cast<std::size_t>(jpeg.size())));
    if (!picture) {
        return {};
    }
    // QImage wraps the rows without copying them; copy() gives it data of its own.
    return QImage(picture->pixels.data(), picture->width, picture->height, picture->width * 3,
                  QImage::Format_RGB888)
        .copy();
}

} // namespace lusheng::app
