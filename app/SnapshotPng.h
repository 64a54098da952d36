#pragma once

class QByteArray;
class QImage;

namespace FastPng {

// PNG bytes of an opaque picture, as the framework's writer makes them at
// quality 80; false for the pictures the writer treats otherwise.
bool Encode(const QImage &picture, QByteArray &bytes);

} // namespace FastPng
