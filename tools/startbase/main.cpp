// The yardstick for the program's start-up: an empty window of the main
// window's size that saves a picture of itself after its first paint and ends.
// With --text it shows one line of text, so its picture includes setting up
// the fonts, which an empty window never does.
// Run it offscreen: startbase [--text] FILE.png
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

class TEmptyWindow : public QWidget
{
public:
    TEmptyWindow(QString file, bool text) : m_file(std::move(file)), m_text(text) { }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_text)
            QPainter(this).drawText(rect(), Qt::AlignCenter, QStringLiteral("Cauchy Distribution"));
        if (m_painted)
            return;
        m_painted = true;
        // Not from inside the paint event: grabbing paints the window again.
        QTimer::singleShot(0, this, [this] {
            const bool ok = grab().toImage().save(m_file, "PNG");
            if (!ok)
                std::fprintf(stderr, "startbase: cannot write %s\n", qPrintable(m_file));
            QCoreApplication::exit(ok ? 0 : 1);
        });
    }

private:
    QString m_file;
    bool m_text;
    bool m_painted = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool text = argc == 3 && std::strcmp(argv[1], "--text") == 0;
    if (argc != 2 && !text) {
        std::fputs("usage: startbase [--text] FILE.png\n", stderr);
        return 2;
    }
    TEmptyWindow window(QString::fromLocal8Bit(argv[argc - 1]), text);
    window.resize(752, 384);
    window.show();
    return app.exec();
}
