#include "Kesl_ScaleTicks.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// printf into a std::string of the exact length (huge values with many
// decimals may need hundreds of characters).
std::string PrintLongDouble(const char *fmt, int decimals, TExtended v)
{
    const int n = std::snprintf(nullptr, 0, fmt, decimals, v);
    if (n <= 0)
        return {};
    std::string out(std::size_t(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), fmt, decimals, v);
    out.resize(std::size_t(n));
    return out;
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
    if (Decimals >= 0) {
        // Enough for any double; more decimals only add zeros beyond the
        // 14 characters a label keeps.
        const int dec = Decimals > 400 ? 400 : Decimals;
        return QString::fromStdString(PrintLongDouble("%.*Lf", dec, Value));
    }
    if (!std::isfinite(Value))
        return QStringLiteral("********");
    // Sign position, d.dE+xx; the C library writes at least two exponent digits.
    std::string text = PrintLongDouble("%.*LE", 1, Value);
    if (!text.empty() && text[0] != '-')
        text.insert(text.begin(), ' ');
    if (text.size() > 8)
        return QStringLiteral("********");
    return QString::fromStdString(text);
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
