#pragma once
// The main window's background picture, decoded once and held for every paint.

#include <QByteArray>
#include <QImage>

namespace lusheng::app {

// The picture built into the program.
QByteArray builtInBackgroundJpeg();

// A null image when the bytes are not a decodable JPEG picture.
QImage decodeBackgroundPicture(const QByteArray& jpeg);

} // namespace lusheng::app
