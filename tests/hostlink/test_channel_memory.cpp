// What a large reply costs, counted allocation by allocation on the receiving
// thread through the address sanitizer's allocator hooks.
#include "test_demon_support.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void *, size_t),
                                                         void (*)(const volatile void *));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void *);

static thread_local qint64 t_live = 0, t_peak = 0;
static thread_local bool t_counting = false;

TEST_F(DemonFixture, LargeHostReplyCostsAboutItsByteCount)
{
    static const int hooked = __sanitizer_install_malloc_and_free_hooks(
        [](const volatile void *, size_t Size) { t_peak = qMax(t_peak, t_live += t_counting ? qint64(Size) : 0); },
        [](const volatile void *P) { t_live -= t_counting ? qint64(__sanitizer_get_allocated_size(P)) : 0; });
    ASSERT_TRUE(hooked);
    const QByteArray file(16 * 1024 * 1024, 'f');
    TThreadHost host(QStringLiteral("mem"), [&](const TFrame &, const TMessageData &Message, const TFrameReply &Reply) {
        TThreadHost::ReplyWith(Reply, Message, QByteArray(1, 1) + file);
    });
    ASSERT_TRUE(host.Begin());
    TvrxDemonClient cli(nullptr, m_program, {"prog", "/serverhandle=mem"}, "T");
    t_counting = true;
    std::unique_ptr<QBuffer> got = cli.GetHostFile(QStringLiteral("big"));
    t_counting = false;
    ASSERT_TRUE(got && got->data() == file);
    // The frame's one buffer, filled in place and handed on, plus small change.
    EXPECT_LT(t_peak, file.size() + file.size() / 8) << t_peak;
}
#endif
