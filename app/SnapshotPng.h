#pragma once

class QByteArray;
class QImage;

namespace FastPng {

// PNG bytes of an opaque picture, decoding to its pixels, about the size the
// framework's writer makes at quality 80; false for the pictures the writer
// treats otherwise (and for small ones), which the caller then hands to it.
// Large pictures are encoded on two threads.
bool Encode(const QImage &picture, QByteArray &bytes);

} // namespace FastPng
