#include "Kesl_ScaleTicks.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

// Number text in the C locale's form whatever LC_NUMERIC says: the decimal
// point is always ".". Huge values with many decimals need hundreds of
// characters, so the buffer grows until the text fits.
std::string CharsOf(TExtended v, std::chars_format fmt, int precision)
{
    std::string out(64, '\0');
    for (;;) {
        const auto r = std::to_chars(out.data(), out.data() + out.size(), v, fmt, precision);
        if (r.ec == std::errc()) {
            out.resize(std::size_t(r.ptr - out.data()));
            return out;
        }
        out.resize(out.size() * 4);
    }
}

} // namespace

int AutoDecimals(int DecPlaces, TExtended High, TExtended Low)
{
    if (DecPlaces != -2 && DecPlaces != -3)
        return DecPlaces;
    const TExtended d = std::fabs(High - Low);
    if (!(d < 1000000.0L) || d <= 0.0001L) // also a NaN width
        return -1;
    if (d >= 100.0L)
        return 0;
    return 2 - int(std::nearbyint(std::log(d) / 2.5L));
}

int AutoLogDecimals(int DecPlaces, TExtended A, TExtended B)
{
    if (DecPlaces != -2)
        return DecPlaces;
    const TExtended lo = std::fmin(A, B);
    const TExtended hi = std::fmax(A, B);
    const TExtended width = hi - lo;
    if (!(width < 1000000.0L) || width <= 0.0001L)
        return -1;
    if (lo >= 1.0L)
        return 0;
    if (lo == 0.0L) // no decade to count from: exponential labels
        return -1;
    return 1 - int(std::nearbyint(std::log10(std::fabs(lo))));
}

QString FormatTickNumber(TExtended Value, int Decimals)
{
    // A negative zero is no negative value (-0.001 rounded to zero still is).
    if (Value == 0)
        Value = 0;
    if (Decimals >= 0) {
        // Enough for any double; more decimals only add zeros beyond the
        // 14 characters a label keeps.
        const int dec = Decimals > 400 ? 400 : Decimals;
        return QString::fromStdString(CharsOf(Value, std::chars_format::fixed, dec));
    }
    if (!std::isfinite(Value))
        return QStringLiteral("********");
    // Sign position, d.dE+xx; at least two exponent digits are written.
    std::string text = CharsOf(Value, std::chars_format::scientific, 1);
    if (!text.empty() && text[0] != '-')
        text.insert(text.begin(), ' ');
    if (text.size() > 8)
        return QStringLiteral("********");
    return QString::fromStdString(text).toUpper();
}

QString UserTickItem(const QString &Texts, int Index)
{
    const QStringList pieces = Texts.split(QLatin1Char('|'));
    if (Texts.isEmpty())
        return {};
    if (Index < 1)
        Index = 1;
    if (Index > pieces.size())
        return pieces.last();
    return pieces.at(Index - 1);
}

QString ApplyInscript(const QString &Number, const QString &Inscript)
{
    if (Number.isEmpty())
        return {};
    const qsizetype amp = Inscript.indexOf(QLatin1Char('&'));
    if (amp < 0)
        return Inscript + Number;
    return Inscript.left(amp) + Number + Inscript.mid(amp + 1);
}
