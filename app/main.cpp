#include "AboutBox.h"
#include "Application.h"
#include "CommandLine.h"
#include "Messages.h"
#include "QuarvisDemon.h"
#include "ScreenFit.h"
#include "Simulation.h"
#include "Startup.h"
#include "mainfrm.h"

#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <optional>

int main(int argc, char **argv)
try {
    InstallProcessSignals();
    const TParseResult parsed = ParseCommandLine(ArgumentList(argc, argv), TStartEnvironment::FromProcess());
    for (const QString &warning : parsed.Warnings)
        std::fprintf(stderr, "cauchy: %s\n", qPrintable(warning));
    if (!parsed.Error.isEmpty()) {
        const QString tryHelp = QStringLiteral("\nTry 'cauchy --help' for more information.");
        std::fprintf(stderr, "cauchy: %s\n",
                     qPrintable(CommandLineText(argc, argv, parsed.Options.Language, parsed.Error + tryHelp)));
        return 2;
    }
    const TStartOptions &options = parsed.Options;
    if (options.Help) {
        std::fputs(qPrintable(CommandLineHelp(argc, argv, options.Language)), stdout);
        return 0;
    }
    if (options.Version) {
        std::printf("%s\n", qPrintable(VersionText()));
        return 0;
    }
    const bool snapshot = options.Headless();
    if (snapshot)
        qputenv("QT_QPA_PLATFORM", "offscreen"); // nothing appears on a screen
    EndWhenMemoryRunsOut();
    if (const QString cause = CheckResourceLimits(snapshot); !cause.isEmpty()) {
        std::fprintf(stderr, "cauchy: %s\n", qPrintable(cause));
        return 1;
    }

    // Values Qt would read but could not draw with; warned about above.
    if (parsed.DropScaleFactor)
        qunsetenv("QT_SCALE_FACTOR");
    if (parsed.DropFontDpi)
        qunsetenv("QT_FONT_DPI");
    // Qt then lays out and draws everything at this ratio; the controls that
    // draw through pictures of their own make them at it as well.
    if (options.Scale)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(*options.Scale));
    // A picture is drawn offscreen whatever Qt's own switches say, so they are
    // not handed on: "-platform --snapshot x.png" would name no platform at all.
    int qtArgc = snapshot ? 1 : argc;
    const std::unique_ptr<TApplication> application = CreateApplicationThatFits(qtArgc, argv);
    TApplication &app = *application;
    if (const QString cause = CheckMemoryLimit(snapshot, WindowDeviceSize()); !cause.isEmpty()) {
        std::fprintf(stderr, "cauchy: %s\n", qPrintable(cause));
        return 1;
    }
    if (!snapshot)
        app.QuitOnTerminationSignals();
    TFrmMain FrmMain(nullptr, !snapshot, options.Language);
    ApplyStartParameters(FrmMain, options);
    // Created after the main window and hidden; a snapshot shows no dialog,
    // so it has none.
    std::optional<TFrmAbout> FrmAbout;
    if (!snapshot)
        FrmMain.FrmAbout = &FrmAbout.emplace();

    if (snapshot) {
        FrmMain.FormShow();
        ApplyStartView(FrmMain, options);
        FrmMain.Model->RunTimer()->stop();
        QString error;
        const bool saved = options.Export.isEmpty()
            ? SaveSnapshot(FrmMain, SnapshotPathBytes(argc, argv, options.Snapshot), error)
            : SaveExport(FrmMain, FileArgumentBytes(argc, argv, "--export", options.Export), error);
        if (!saved) {
            std::fprintf(stderr, "cauchy: %s\n", qPrintable(TranslateMessage(FrmMain.cliDemon, error)));
            return 1;
        }
        return 0;
    }

    FrmMain.show();
    ApplyStartView(FrmMain, options);
    // A signal during start-up has ended its loops already.
    return app.TerminationRequested() ? 0 : app.exec();
} catch (const std::exception &e) {
    // Whatever start-up throws ends it with a message, never with an abort;
    // a box only where a screen could show it (not for a snapshot or export).
    const bool snapshot = qgetenv("QT_QPA_PLATFORM") == "offscreen";
    return ReportStartFailure(argc, argv, snapshot, QString::fromLocal8Bit(e.what()));
}
