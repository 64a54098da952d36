#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// What the program was asked to do on its command line. Arguments that are not
// "--" options (host switches, parameters for a running instance) are left to
// the host-link client.
struct TStartOptions
{
    enum class View { Distribution, Means };

    bool Help = false;
    bool Version = false;
    QString Snapshot; // render the window after start-up to this PNG and exit
    View StartView = View::Distribution;
    std::optional<int> DistributionIndex; // 0 normal, 1 Cauchy
    std::optional<int> LocationPosition; // scroll-bar position: location * 10
    std::optional<int> WidthPosition; // scroll-bar position: width * 100
    std::optional<int> Samples; // running-means ticks run at once (1..500)
    std::optional<std::uint32_t> Seed; // generator start instead of the clock
};

struct TParseResult
{
    TStartOptions Options;
    QString Error; // empty when the command line is fine
};

TParseResult ParseCommandLine(const QStringList &arguments);
QString HelpText();
QString VersionText();
