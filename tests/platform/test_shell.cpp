#include "Shell.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkTarget, KindFollowsPrefixAndExtension)
{
    const std::pair<const char *, TLinkTarget> cases[] = {
        {"http://example.org/", TLinkTarget::WebAddress},
        {"HTTP://EXAMPLE.ORG/Page", TLinkTarget::WebAddress},
        {"http://example.org/setup.exe", TLinkTarget::WebAddress},
        {"HTTPS://example.org/", TLinkTarget::WebAddress},
        {"ftp://example.org/", TLinkTarget::None},
        {"file:///tmp/index.html", TLinkTarget::None},
        {"mailto:someone@example.org", TLinkTarget::None},
        {"www.example.org", TLinkTarget::None},
        {" http://example.org/", TLinkTarget::None},
        {"C:\\Tools\\Prog.EXE", TLinkTarget::Program},
        {"prog.exe", TLinkTarget::Program},
        {"tools.exe/readme", TLinkTarget::None},
        {"tools.exe\\readme", TLinkTarget::None},
        {"prog.exe.txt", TLinkTarget::None},
        {"", TLinkTarget::None},
    };
    for (const auto &[target, kind] : cases)
        EXPECT_EQ(LinkTargetKind(QString::fromLatin1(target)), kind) << target;
}

TEST(ShellOpen, NothingToOpenFails)
{
    EXPECT_EQ(ShellOpen(QString()), 2);
    EXPECT_EQ(ShellOpen(QStringLiteral("   ")), 2);
    EXPECT_EQ(ShellOpen(QStringLiteral("http://example.org/"), QString(), QStringLiteral("print")), 2);
    EXPECT_EQ(ShellOpen(QStringLiteral("  "), QString(), QStringLiteral("open")), 2);
}

} // namespace
