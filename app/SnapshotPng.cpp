#include "SnapshotPng.h"

#include "HelperThread.h"

#include <QByteArray>
#include <QColorSpace>
#include <QImage>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#define ZLIB_CONST
#include <zlib.h>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

// PNG of an opaque picture with the chunks and the row filters of the
// framework's writer at quality 80 (zlib level 1, every row through the
// cheapest of the five filters), in a fraction of its time: the filter choice,
// which dominates the writer's time, is done 16 bytes at a time here, and a
// large picture is filtered and compressed in two halves on two threads. Small
// pictures come out byte for byte as the writer makes them; split ones decode
// to the same pixels and are about as large.
namespace FastPng {
namespace {

void Put32(QByteArray &out, std::uint32_t v)
{
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

void Chunk(QByteArray &out, const char *type, const char *data, std::size_t n)
{
    Put32(out, std::uint32_t(n));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data, qsizetype(n));
    Put32(out, std::uint32_t(crc32_z(0, reinterpret_cast<const Bytef *>(out.constData() + start), n + 4)));
}

constexpr std::size_t kBpp = 3;
constexpr int kFilters = 4; // sub, up, average, Paeth; "none" is the row itself

// The writer's measure of a filtered byte: its magnitude taken as signed.
inline unsigned Cost(std::uint8_t v)
{
    return v < 128 ? v : 256u - v;
}

// Byte I of the four filtered rows; the same sums as the vector loop.
void FilterByte(const std::uint8_t *raw, const std::uint8_t *prev, std::size_t i, std::uint8_t *const *rows,
                std::size_t *sums)
{
    const int x = raw[i], a = raw[i - kBpp], b = prev[i], c = prev[i - kBpp];
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    const int paeth = (pa <= pb && pa <= pc) ? a : (pb <= pc) ? b : c;
    const std::uint8_t out[kFilters] = {std::uint8_t(x - a), std::uint8_t(x - b), std::uint8_t(x - ((a + b) >> 1)),
                                        std::uint8_t(x - paeth)};
    sums[kFilters] += Cost(std::uint8_t(x));
    for (int f = 0; f < kFilters; ++f) {
        rows[f][i] = out[f];
        sums[f] += Cost(out[f]);
    }
}

#if defined(__SSE2__) && defined(__x86_64__)
inline __m128i CostSum(__m128i v)
{
    const __m128i zero = _mm_setzero_si128();
    return _mm_sad_epu8(_mm_min_epu8(v, _mm_sub_epi8(zero, v)), zero);
}

inline __m128i Select(__m128i mask, __m128i yes, __m128i no)
{
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

inline __m128i Abs16(__m128i v)
{
    return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}

// The Paeth predictor of eight pixels' bytes widened to 16 bits.
inline __m128i Paeth16(__m128i a, __m128i b, __m128i c)
{
    const __m128i pa = Abs16(_mm_sub_epi16(b, c)), pb = Abs16(_mm_sub_epi16(a, c));
    const __m128i pc = Abs16(_mm_sub_epi16(_mm_add_epi16(a, b), _mm_add_epi16(c, c)));
    const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
    return Select(notA, Select(_mm_cmpgt_epi16(pb, pc), c, b), a);
}

// Bytes [0, n - n % 16) of the four filtered rows; returns where it stopped.
std::size_t FilterBlocks(const std::uint8_t *raw, const std::uint8_t *prev, std::size_t n, std::uint8_t *const *rows,
                         std::size_t *sums)
{
    const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi8(1);
    __m128i acc[kFilters + 1] = {};
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const auto load = [](const std::uint8_t *p) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p)); };
        const __m128i x = load(raw + i), a = load(raw + i - kBpp), b = load(prev + i), c = load(prev + i - kBpp);
        const __m128i average = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
        const __m128i paeth = _mm_packus_epi16(
            Paeth16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(c, zero)),
            Paeth16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(c, zero)));
        const __m128i out[kFilters] = {_mm_sub_epi8(x, a), _mm_sub_epi8(x, b), _mm_sub_epi8(x, average),
                                       _mm_sub_epi8(x, paeth)};
        for (int f = 0; f < kFilters; ++f) {
            _mm_storeu_si128(reinterpret_cast<__m128i *>(rows[f] + i), out[f]);
            acc[f] = _mm_add_epi64(acc[f], CostSum(out[f]));
        }
        acc[kFilters] = _mm_add_epi64(acc[kFilters], CostSum(x));
    }
    for (int f = 0; f <= kFilters; ++f)
        sums[f] += std::size_t(_mm_cvtsi128_si64(acc[f])) + std::size_t(_mm_cvtsi128_si64(_mm_srli_si128(acc[f], 8)));
    return i;
}
#else
std::size_t FilterBlocks(const std::uint8_t *, const std::uint8_t *, std::size_t, std::uint8_t *const *, std::size_t *)
{
    return 0;
}
#endif

// Filters one row (kBpp zero bytes before Raw and Prev stand for the missing
// left neighbours) into Out: the filter's number, then the row. The cheapest
// filter wins, an earlier one on a tie, "none" first.
void FilterRow(const std::uint8_t *raw, const std::uint8_t *prev, std::size_t n, std::uint8_t *scratch,
               std::uint8_t *out)
{
    std::uint8_t *const rows[kFilters] = {scratch, scratch + n, scratch + 2 * n, scratch + 3 * n};
    std::size_t sums[kFilters + 1] = {};
    for (std::size_t i = FilterBlocks(raw, prev, n, rows, sums); i < n; ++i)
        FilterByte(raw, prev, i, rows, sums);
    int best = -1;
    std::size_t least = sums[kFilters];
    for (int f = 0; f < kFilters; ++f) {
        if (sums[f] < least) {
            least = sums[f];
            best = f;
        }
    }
    out[0] = std::uint8_t(best + 1);
    const std::uint8_t *row = best < 0 ? raw : rows[best];
    std::copy(row, row + n, out + 1);
}

constexpr std::size_t kWindow = 32768; // deflate's reach back
constexpr std::size_t kTwoThreads = 64 * 1024; // filtered bytes worth a second thread

// The picture's rows as the encoder reads them: 32-bit pixels, read only.
struct Source
{
    const uchar *bits;
    qsizetype stride;
    std::size_t width, height;
};

void Unpack(const Source &source, std::size_t y, std::uint8_t *raw)
{
    const QRgb *pixel = reinterpret_cast<const QRgb *>(source.bits + qsizetype(y) * source.stride);
    for (std::size_t x = 0; x < source.width; ++x) {
        raw[kBpp * x] = std::uint8_t(qRed(pixel[x]));
        raw[kBpp * x + 1] = std::uint8_t(qGreen(pixel[x]));
        raw[kBpp * x + 2] = std::uint8_t(qBlue(pixel[x]));
    }
}

// Filters rows [First, Last) into Out; a row depends only on itself and the
// raw row above it, so any run of rows can be filtered on its own.
void FilterRows(const Source &source, std::size_t first, std::size_t last, std::uint8_t *out)
{
    const std::size_t n = kBpp * source.width;
    std::vector<std::uint8_t> lines(2 * (kBpp + n), 0), scratch(kFilters * n);
    std::uint8_t *prev = lines.data() + kBpp, *raw = prev + n + kBpp;
    if (first > 0)
        Unpack(source, first - 1, prev);
    for (std::size_t y = first; y < last; ++y, out += n + 1) {
        Unpack(source, y, raw);
        FilterRow(raw, prev, n, scratch.data(), out);
        std::swap(prev, raw);
    }
}

using Stream = std::unique_ptr<z_stream, decltype(&deflateEnd)>;

// Raw deflate of Data[0, Size) at level 1, appended to Out. Final ends the
// stream; otherwise it stops byte-aligned after a sync flush, so that another
// raw deflate part can follow it.
bool Deflate(z_stream &s, const std::uint8_t *data, std::size_t size, bool final, QByteArray &out)
{
    constexpr std::size_t kStep = 1u << 30; // zlib counts in 32 bits
    const qsizetype start = out.size();
    out.resize(start + qsizetype(deflateBound(&s, size) + 64));
    std::size_t inLeft = size, outLeft = std::size_t(out.size() - start);
    s.next_in = data;
    s.next_out = reinterpret_cast<Bytef *>(out.data() + start);
    s.avail_in = s.avail_out = 0;
    const int flush = final ? Z_FINISH : Z_SYNC_FLUSH;
    for (;;) {
        const uInt moreIn = uInt(std::min(inLeft, kStep - s.avail_in));
        s.avail_in += moreIn;
        inLeft -= moreIn;
        if (s.avail_out == 0) {
            s.avail_out = uInt(std::min(outLeft, kStep));
            outLeft -= s.avail_out;
        }
        const int result = deflate(&s, inLeft > 0 ? Z_NO_FLUSH : flush);
        const bool flushed = inLeft == 0 && s.avail_in == 0 && s.avail_out > 0;
        if (result == Z_STREAM_END || (result == Z_OK && !final && flushed)) {
            out.resize(start + qsizetype(s.total_out));
            return true;
        }
        if (result != Z_OK)
            return false;
    }
}

// Rows [First, Last) filtered, their Adler-32 and their raw deflate.
struct Part
{
    std::size_t first = 0, last = 0;
    bool final = true;
    QByteArray deflated;
    uLong adler = 1;
    bool done = false;
};

// Runs on either thread, so nothing may escape it. A later part is primed
// with the last 32 KiB of the filtered rows before it, refiltered here, which
// keeps the size near that of one stream.
void Compress(const Source &source, Part &part) noexcept
{
    try {
        const std::size_t rowBytes = kBpp * source.width + 1;
        const std::size_t primeRows = std::min(part.first, (kWindow + rowBytes - 1) / rowBytes);
        const std::size_t from = part.first - primeRows, size = (part.last - part.first) * rowBytes;
        const std::unique_ptr<std::uint8_t[]> filtered(new std::uint8_t[(part.last - from) * rowBytes]);
        FilterRows(source, from, part.last, filtered.get());
        const std::uint8_t *data = filtered.get() + primeRows * rowBytes;
        part.adler = adler32_z(1, data, size);
        z_stream s {};
        if (deflateInit2(&s, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return;
        const Stream owner(&s, deflateEnd);
        const uInt dictionary = uInt(std::min(primeRows * rowBytes, kWindow));
        if (dictionary > 0 && deflateSetDictionary(&s, data - dictionary, dictionary) != Z_OK)
            return;
        part.done = Deflate(s, data, size, part.final, part.deflated);
    } catch (...) {
        part.done = false;
    }
}

// One zlib stream of the filtered rows: a large picture in two halves, the
// second on a thread of its own, joined as one stream (the first half ends on
// a sync flush, the checksums combine). Empty if something failed.
QByteArray ZlibStream(const Source &source)
{
    const std::size_t rowBytes = kBpp * source.width + 1;
    const bool twoParts = source.height >= 2 && source.height * rowBytes >= kTwoThreads;
    Part parts[2];
    // The helper starts later and refilters the rows its dictionary comes
    // from, so the calling thread takes a little more than half.
    parts[0].last = twoParts ? source.height * 9 / 16 : source.height;
    parts[0].final = !twoParts;
    parts[1].first = parts[0].last;
    parts[1].last = source.height;
    if (twoParts) {
        const std::jthread helper = StartHelperThread([&source, &parts] { Compress(source, parts[1]); });
        if (!helper.joinable())
            Compress(source, parts[1]); // no thread to be had: both halves here
        Compress(source, parts[0]);
    } else {
        Compress(source, parts[0]);
        parts[1].done = true;
    }
    if (!parts[0].done || !parts[1].done)
        return {};
    QByteArray z("\x78\x01", 2); // deflate, 32 KiB window, fastest level
    z.reserve(2 + parts[0].deflated.size() + parts[1].deflated.size() + 4);
    z += parts[0].deflated;
    z += parts[1].deflated;
    const uLong adler =
        adler32_combine(parts[0].adler, parts[1].adler, z_off_t((parts[1].last - parts[1].first) * rowBytes));
    Put32(z, std::uint32_t(adler));
    return z;
}

} // namespace

// False for the pictures the writer treats otherwise (alpha, colour space,
// text, offset, no resolution), for small ones, where the writer is quick
// anyway, and if zlib fails.
bool Encode(const QImage &picture, QByteArray &bytes)
{
    const std::size_t w = std::size_t(std::max(picture.width(), 0)), h = std::size_t(std::max(picture.height(), 0));
    if (picture.format() != QImage::Format_RGB32 || !picture.textKeys().isEmpty() || picture.colorSpace().isValid() ||
        !picture.offset().isNull() || picture.dotsPerMeterX() <= 0 || picture.dotsPerMeterY() <= 0 ||
        h * (kBpp * w + 1) <= 16384)
        return false;
    const QByteArray z = ZlibStream(Source {picture.constBits(), picture.bytesPerLine(), w, h});
    if (z.isEmpty())
        return false;
    QByteArray head;
    Put32(head, std::uint32_t(w));
    Put32(head, std::uint32_t(h));
    head.append("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, filtered, not interlaced
    QByteArray resolution;
    Put32(resolution, std::uint32_t(picture.dotsPerMeterX()));
    Put32(resolution, std::uint32_t(picture.dotsPerMeterY()));
    resolution.append('\x01'); // per metre
    bytes.clear();
    bytes.reserve(z.size() + z.size() / 512 + 128);
    bytes.append("\x89PNG\r\n\x1a\n", 8);
    Chunk(bytes, "IHDR", head.constData(), std::size_t(head.size()));
    Chunk(bytes, "pHYs", resolution.constData(), std::size_t(resolution.size()));
    // Chunks of 8192 bytes, as the writer cuts them.
    constexpr std::size_t kChunk = 8192;
    const char *data = z.constData();
    std::size_t left = std::size_t(z.size());
    for (; left >= kChunk; left -= kChunk, data += kChunk)
        Chunk(bytes, "IDAT", data, kChunk);
    Chunk(bytes, "IDAT", data, left);
    Chunk(bytes, "IEND", nullptr, 0);
    return true;
}

} // namespace FastPng
