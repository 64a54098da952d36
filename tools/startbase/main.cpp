// The yardstick for the program's start-up: an empty window of the main
// window's size that saves a picture of itself after its first paint and ends.
// Run it offscreen: startbase FILE.png
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <utility>

namespace {

class TEmptyWindow : public QWidget
{
public:
    explicit TEmptyWindow(QString file) : m_file(std::move(file)) { }

protected:
    void paintEvent(QPaintEvent *) override
    {
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
    bool m_painted = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: startbase FILE.png\n", stderr);
        return 2;
    }
    TEmptyWindow window(QString::fromLocal8Bit(argv[1]));
    window.resize(752, 384);
    window.show();
    return app.exec();
}
