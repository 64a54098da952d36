#pragma once

#include "TeachingExtras.h"
#include "TextLookup.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// What the program was asked to do on its command line. Arguments that do not
// start with "-" (host switches, parameters for a running instance) are left
// to the host-link client. An option the program does not know is refused,
// unless it is written as Qt writes its own switches, with one dash and a word
// (-platform, -style, -reverse): those are left to the application object.
struct TStartOptions
{
    enum class View { Distribution, Means, MeanOfN };

    bool Help = false;
    bool Version = false;
    QString Snapshot; // render the window after start-up to this PNG and exit
    QString Export; // write the chart's picture (.svg, .pdf, .png) or its samples (.csv) and exit
    View StartView = View::Distribution;
    std::optional<int> DistributionIndex; // 0 normal, 1 Cauchy
    std::optional<int> LocationPosition; // scroll-bar position: location * 10
    std::optional<int> WidthPosition; // scroll-bar position: width * 100
    std::optional<int> Samples; // running-means ticks run at once (1..500)
    std::optional<int> MeanOf; // the mean-of-n view's n (1..100)
    std::optional<std::uint32_t> Seed; // generator start instead of the clock
    std::optional<double> Scale; // the window drawn at this many pixels per pixel (1..4)
    QString Language; // "de" or "en": a shipped table instead of the one beside the program
    TTeachingExtras Extras; // --theory, --outside, --median, --log-y, --compare

    // A snapshot or an export: no window is shown.
    bool Headless() const { return !Snapshot.isEmpty() || !Export.isEmpty(); }
};

// The environment variables the start reads; unset ones are null.
struct TStartEnvironment
{
    QString Language; // CAUCHY_LANGUAGE
    QString ScaleFactor; // QT_SCALE_FACTOR
    QString FontDpi; // QT_FONT_DPI
    static TStartEnvironment FromProcess();
};

struct TParseResult
{
    TStartOptions Options;
    // Empty when the command line is fine. Otherwise the first fault, and the
    // options are what could be read: the language is there to say it in.
    QString Error;
    QStringList Warnings; // one line each, for standard error; the start goes on
    // Unusable Qt variables, to be unset before Qt reads them.
    bool DropScaleFactor = false; // QT_SCALE_FACTOR
    bool DropFontDpi = false; // QT_FONT_DPI
};

// The language comes from the environment (CAUCHY_LANGUAGE) when the command
// line names none, the scale from QT_SCALE_FACTOR; an unusable value there or
// in QT_FONT_DPI is warned about and left out, never an error. Extras the
// start view does not show are refused as the model's rule says.
TParseResult ParseCommandLine(const QStringList &arguments, const TStartEnvironment &environment = {});
// The options and their help lines, each looked up by Text (none: English).
QString HelpText(const TTextLookup &text = {});

// The program's arguments as texts, in the encoding of the locale.
QStringList ArgumentList(int argc, char **argv);
// The snapshot file name as its bytes on the command line (the parsed text
// would lose bytes that are not UTF-8).
QByteArray SnapshotPathBytes(int argc, char **argv, const QString &Parsed);
// The value of any file-name option ("--export") the same way.
QByteArray FileArgumentBytes(int argc, char **argv, const QByteArray &Option, const QString &Parsed);
QString VersionText();

// The application's name and version. No display name: the platform would
// append it to every window title, and the About dialog's title is its
// translated text alone.
void SetProgramIdentity();
