// Packs the test build's program into a Debian package (or takes the one
// CAUCHY_DEB names), unpacks it into a temporary folder and checks what a lab
// machine would get: the program runs from /usr/bin with its files from
// /usr/share, and the package's checkers find nothing to object to.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

class Package : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        work = std::make_unique<QTemporaryDir>();
        deb = qEnvironmentVariable("CAUCHY_DEB");
        const QString cpack = QFileInfo(qEnvironmentVariable("CAUCHY_CMAKE")).dir().filePath("cpack");
        if (Tool("dpkg-deb").isEmpty() || (deb.isEmpty() && !QFileInfo(cpack).isExecutable()))
            return;
        folder = deb.isEmpty() ? work->filePath("deb") : QFileInfo(deb).path();
        if (deb.isEmpty() &&
            (Run(cpack, {"-G", "DEB", "--config", Config(), "-B", folder}) != 0 || (deb = Deb("cauchy")).isEmpty()))
            return;
        if (Run(Tool("dpkg-deb"), {"-x", deb, work->filePath("root")}) == 0)
            root = work->filePath("root");
    }
    static QString Config() { return qEnvironmentVariable("CAUCHY_BUILD_DIR") + "/CPackConfig.cmake"; }
    // The file of one package among those built ("libkesl-dev" finds libkesl-dev_1.0-1_amd64.deb).
    static QString Deb(const QString &name)
    {
        const QStringList found = QDir(folder).entryList({name + "_*.deb"}, QDir::Files);
        return found.size() == 1 ? folder + "/" + found.first() : QString();
    }
    static void TearDownTestSuite() { work.reset(); }
    void SetUp() override
    {
        if (Tool("dpkg-deb").isEmpty())
            GTEST_SKIP() << "dpkg-deb not installed";
        ASSERT_FALSE(root.isEmpty()) << "the package was not built or not unpacked";
    }

    static QString Tool(const QString &name) { return QStandardPaths::findExecutable(name); }
    // Exit code of a program run in the work folder; its output lands in output.
    static int Run(const QString &program, const QStringList &args, QString *output = nullptr)
    {
        QProcess p;
        p.setWorkingDirectory(work->path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        env.insert("LC_ALL", "C.UTF-8"); // the checkers' messages in one language
        env.remove("LOCPATH");
        env.remove("CAUCHY_LANGUAGE");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        const bool finished = p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit;
        const QString out = QString::fromUtf8(p.readAll());
        if (output)
            *output = out;
        EXPECT_TRUE(finished) << program.toStdString() << ": " << out.toStdString();
        return finished ? p.exitCode() : -1;
    }
    static QString Root(const QString &file) { return root + "/" + file; }

    static inline std::unique_ptr<QTemporaryDir> work;
    static inline QString deb, root, folder;
};

} // namespace

TEST_F(Package, TheUnpackedProgramRunsWithItsFilesFromShare)
{
    for (const char *file :
         {"usr/bin/cauchy", "usr/share/cauchy/cauchy.itl", "usr/share/cauchy/translations/de/cauchy.itl",
          "usr/share/doc/cauchy/index.html", "usr/share/doc/cauchy/copyright",
          "usr/share/doc/cauchy/changelog.Debian.gz", "usr/share/man/man1/cauchy.1.gz",
          "usr/share/man/de/man1/cauchy.1.gz", "usr/share/applications/cauchy.desktop",
          "usr/share/icons/hicolor/256x256/apps/cauchy.png", "usr/share/icons/hicolor/scalable/apps/cauchy.svg"})
        EXPECT_TRUE(QFileInfo::exists(Root(file))) << file;
    EXPECT_EQ(QDir(Root("usr/share/metainfo")).entryList({"*.metainfo.xml"}, QDir::Files).size(), 1);
    // The component library stays out of the program's package.
    EXPECT_FALSE(QFileInfo::exists(Root("usr/include")));
    EXPECT_FALSE(QFileInfo::exists(Root("usr/lib")));

    // Started from the unpacked /usr/bin, it reads its table from ../share/cauchy:
    // the same picture as the build tree's program, and a German one that differs.
    const auto shot = [](const QString &program, const QString &name, const QStringList &more = {}) {
        const QString file = work->filePath(name);
        EXPECT_EQ(Run(program, QStringList {"--snapshot", file, "--seed", "3"} + more), 0) << name.toStdString();
        return QImage(file);
    };
    const QImage packed = shot(Root("usr/bin/cauchy"), "packed.png");
    ASSERT_FALSE(packed.isNull());
    EXPECT_EQ(packed, shot(qEnvironmentVariable("CAUCHY_BIN_DIR") + "/cauchy", "built.png"));
    EXPECT_NE(packed, shot(Root("usr/bin/cauchy"), "german.png", {"--language", "de"}));
}

// Each checker that is installed passes: lintian finds no errors, the
// metadata and the menu entry validate, the manual pages render without a
// warning.
TEST_F(Package, TheCheckersFindNothingToObjectTo)
{
    QString out;
    if (const QString lintian = Tool("lintian"); !lintian.isEmpty()) {
        for (const QString &f : QDir(folder).entryList({"*.deb"}, QDir::Files))
            EXPECT_EQ(Run(lintian, {"--fail-on", "error,warning", folder + "/" + f}, &out), 0) << out.toStdString();
    }
    if (const QString appstream = Tool("appstreamcli"); !appstream.isEmpty()) {
        const QDir metainfo(Root("usr/share/metainfo"));
        for (const QString &f : metainfo.entryList({"*.metainfo.xml"}, QDir::Files)) {
            EXPECT_EQ(Run(appstream, {"validate", "--no-net", metainfo.filePath(f)}, &out), 0) << out.toStdString();
            // A software centre's catalogue lists the program with an icon of the size it shows.
            const QString id = f.chopped(QString(".metainfo.xml").size()), catalogue = work->filePath("catalogue");
            EXPECT_EQ(
                Run(appstream, {"compose", "--no-net", "--origin=cauchy", "--result-root=" + catalogue, root}, &out), 0)
                << out.toStdString();
            EXPECT_TRUE(QFileInfo::exists(catalogue + "/usr/share/swcatalog/icons/cauchy/64x64/" + id + ".png"))
                << out.toStdString();
        }
    }
    if (const QString desktop = Tool("desktop-file-validate"); !desktop.isEmpty()) {
        EXPECT_EQ(Run(desktop, {Root("usr/share/applications/cauchy.desktop")}, &out), 0) << out.toStdString();
    }
    if (const QString man = Tool("man"); !man.isEmpty()) {
        for (const char *page : {"usr/share/man/man1/cauchy.1.gz", "usr/share/man/de/man1/cauchy.1.gz"}) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("LC_ALL", "C.UTF-8");
            env.remove("LOCPATH");
            env.insert("MANWIDTH", "80");
            p.setProcessEnvironment(env);
            p.start(man, {"--warnings=all", "-l", Root(page)});
            ASSERT_TRUE(p.waitForFinished(60000)) << page;
            EXPECT_EQ(p.exitCode(), 0) << page;
            EXPECT_FALSE(p.readAllStandardOutput().isEmpty()) << page;
            EXPECT_EQ(p.readAllStandardError(), QByteArray()) << page;
        }
    }
}

// Time stamps come from the commit, not from the clock: packing the same
// build again gives the same bytes.
TEST_F(Package, PackingTwiceGivesTheSameBytes)
{
    if (!qEnvironmentVariable("CAUCHY_DEB").isEmpty())
        GTEST_SKIP() << "packages given from outside";
    const QString again = work->filePath("again");
    const QString cpack = QFileInfo(qEnvironmentVariable("CAUCHY_CMAKE")).dir().filePath("cpack");
    ASSERT_EQ(Run(cpack, {"-G", "DEB", "--config", Config(), "-B", again}), 0);
    const QStringList debs = QDir(folder).entryList({"*.deb"}, QDir::Files);
    EXPECT_EQ(debs, QDir(again).entryList({"*.deb"}, QDir::Files));
    for (const QString &f : debs) {
        QFile a(folder + "/" + f), b(again + "/" + f);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << f.toStdString();
        EXPECT_TRUE(a.readAll() == b.readAll()) << f.toStdString();
    }
}

// A program of one's own builds against the unpacked runtime and development
// packages, once through the CMake package and once through pkg-config, and
// both draw the same chart.
TEST_F(Package, AProgramBuildsAgainstTheUnpackedDevelopmentPackage)
{
    const QString dev = work->filePath("dev");
    for (const char *name : {"libkesl1", "libkesl-dev"}) {
        ASSERT_FALSE(Deb(name).isEmpty()) << name;
        ASSERT_EQ(Run(Tool("dpkg-deb"), {"-x", Deb(name), dev}), 0) << name;
    }
    QDirIterator pc(dev, {"kesl.pc"}, QDir::Files, QDirIterator::Subdirectories);
    ASSERT_TRUE(pc.hasNext());
    const QString libdir = QFileInfo(pc.next()).dir().absolutePath().chopped(QString("/pkgconfig").size());
    qputenv("PKG_CONFIG_PATH", (libdir + "/pkgconfig").toLocal8Bit());
    qputenv("LD_LIBRARY_PATH", libdir.toLocal8Bit());
    const QString source = qEnvironmentVariable("CAUCHY_SOURCE_DIR") + "/tests/app/package_example";

    const QString cmake = qEnvironmentVariable("CAUCHY_CMAKE"), build = work->filePath("sine-cmake");
    ASSERT_EQ(Run(cmake, {"-S", source, "-B", build, "-G", "Ninja", "-DCMAKE_PREFIX_PATH=" + dev + "/usr"}), 0);
    ASSERT_EQ(Run(cmake, {"--build", build}), 0);

    QString flags;
    ASSERT_EQ(Run(Tool("pkg-config"), {"--cflags", "--libs", "kesl"}, &flags), 0) << flags.toStdString();
    ASSERT_TRUE(flags.contains(dev)) << flags.toStdString();
    const QString viaPc = work->filePath("sine-pc");
    ASSERT_EQ(
        Run(Tool("c++"),
            QStringList {"-std=c++20", "-fPIC", source + "/main.cpp", "-o", viaPc} + flags.simplified().split(' ')),
        0);

    ASSERT_EQ(Run(build + "/sine", {work->filePath("sine-cmake.png")}), 0);
    ASSERT_EQ(Run(viaPc, {work->filePath("sine-pc.png")}), 0);
    const QImage shot(work->filePath("sine-cmake.png"));
    ASSERT_EQ(shot.size(), QSize(400, 300));
    EXPECT_EQ(shot, QImage(work->filePath("sine-pc.png")));
}

// Both manual pages describe every option the program's --help lists, with
// every word a choice offers, in the first line of an item:
//   .BR \-\-view " " distribution | means
TEST(ManualPages, DescribeEveryOptionOfTheHelp)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("CAUCHY_BIN_DIR") + "/cauchy", {"--help"});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QStringList help = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    // "  -h, --help    text", "  --seed S    text" or "  --view a|b text": names, then a value
    // (in capitals, or choices) before the text.
    const QRegularExpression item(R"(^  (-[^\s,]+(?:, -[^\s,]+)*)(?: ([A-Z]\S*|\S*\|\S*))?(?:\s|$))");
    const auto roff = [](QString s) { return s.replace("-", "\\-"); };
    int options = 0;
    for (const char *page : {"docs/man/cauchy.1", "docs/man/cauchy.de.1"}) {
        QFile f(qEnvironmentVariable("CAUCHY_SOURCE_DIR") + "/" + page);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << page;
        const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
        options = 0;
        for (const QString &line : help) {
            // The help writes a value in angle brackets ("--view <VIEW>", "--language <de|en>").
            const auto m = item.match(QString(line).remove('<').remove('>'));
            if (!m.hasMatch())
                continue;
            ++options;
            const QStringList choices = m.captured(2).contains('|') ? m.captured(2).split('|') : QStringList();
            for (const QString &name : m.captured(1).split(", ")) {
                const QRegularExpression head("^\\.B[IR]? .*" + QRegularExpression::escape(roff(name)) + "([ \",]|$)");
                // The first line of an item (after .TP) names the option.
                const auto at =
                    std::adjacent_find(lines.begin(), lines.end(), [&](const QString &tp, const QString &l) {
                        return tp == ".TP" && head.match(l).hasMatch();
                    });
                ASSERT_NE(at, lines.end()) << page << " lacks " << name.toStdString();
                for (const QString &choice : choices)
                    EXPECT_TRUE((at + 1)->contains(" " + roff(choice)))
                        << page << ": " << name.toStdString() << " lacks " << choice.toStdString();
            }
        }
    }
    EXPECT_GT(options, 5) << "no options read from --help";
}
