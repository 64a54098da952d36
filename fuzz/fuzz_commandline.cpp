// The whole command line of the program, with the environment variables the
// start reads, up to where the window would be made: whatever comes, the
// start ends with options inside their ranges that the start view can show,
// or with one line saying why not, in a language the program has.
#include "CommandLine.h"
#include "FuzzInput.h"
#include "ViewRules.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

bool OneLine(const QString &Text)
{
    return !Text.contains(u'\n') && !Text.contains(u'\r');
}

bool Within(const std::optional<int> &Value, int Min, int Max)
{
    return !Value || (*Value >= Min && *Value <= Max);
}

void CheckOptions(const TParseResult &r)
{
    const TStartOptions &o = r.Options;
    Check(Within(o.DistributionIndex, 0, 1) && Within(o.LocationPosition, -100, 100) &&
          Within(o.WidthPosition, 1, 500) && Within(o.Samples, 1, 500));
    Check(!o.Samples || o.StartView == TStartOptions::View::Means);
    Check(bool(o.MeanOf) == (o.StartView == TStartOptions::View::MeanOfN) && Within(o.MeanOf, 1, 100));
    Check(!o.Scale || (*o.Scale >= 1 && *o.Scale <= 4));
    const TView view = o.StartView == TStartOptions::View::Means ? TView::RunningMeans
        : o.MeanOf                                               ? TView::MeansOfN
                                                                 : TView::Histogram;
    Check(!ForbiddenExtra(view, o.Extras));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string language = in.ConsumeRandomLengthString(16);
    const std::string scale = in.ConsumeRandomLengthString(16);
    const std::string dpi = in.ConsumeRandomLengthString(16);
    // The arguments as the program gets them: NUL-terminated byte strings.
    std::vector<std::string> words {"cauchy"};
    const std::string rest = in.ConsumeRemainingBytesAsString();
    for (std::size_t start = 0; start < rest.size();) {
        const std::size_t end = std::min(rest.find('\0', start), rest.size());
        words.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    std::vector<char *> argv;
    for (std::string &w : words)
        argv.push_back(w.data());
    const int argc = int(argv.size());
    argv.push_back(nullptr);

    const TStartEnvironment environment {QString::fromLocal8Bit(language), QString::fromLocal8Bit(scale),
                                         QString::fromLocal8Bit(dpi)};
    const TParseResult r = ParseCommandLine(ArgumentList(argc, argv.data()), environment);
    Check(OneLine(r.Error));
    for (const QString &w : r.Warnings)
        Check(OneLine(w) && !w.isEmpty());
    Check(r.Warnings.size() <= 3);
    const QString &used = r.Options.Language;
    Check(used.isEmpty() || used == u"de" || used == u"en");
    if (!r.Error.isEmpty())
        return 0;
    CheckOptions(r);
    // An unusable factor is dropped, a usable one kept unless --scale overrides it.
    Check(!r.DropScaleFactor || !environment.ScaleFactor.isEmpty());
    Check(!r.DropFontDpi || !environment.FontDpi.isEmpty());
    if (!r.Options.Snapshot.isEmpty())
        Check(!SnapshotPathBytes(argc, argv.data(), r.Options.Snapshot).isEmpty());
    return 0;
}
