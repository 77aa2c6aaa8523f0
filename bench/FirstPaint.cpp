// Preloaded (LD_PRELOAD) into a Qt Widgets program: at the first paint of a window it
// writes the CLOCK_REALTIME time to the file named by VARNOK_FIRST_PAINT_FILE and
// ends the program. Without that variable it does nothing.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <time.h>
#include <unistd.h>

namespace {

void recordAndExit(const std::string& file)
{
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    if (FILE* out = std::fopen(file.c_str(), "w")) {
        std::fprintf(out, "%lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
        std::fclose(out);
    }
    ::_exit(0);
}

class FirstPaintWatch : public QObject
{
public:
    explicit FirstPaintWatch(std::string file) : m_file(std::move(file)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            m_seen = true;
            // The window paints itself first, then its children, then flushes to the screen;
            // a zero timer fires once all of that is done.
            QTimer::singleShot(0, [file = m_file] { recordAndExit(file); });
        }
        return false;
    }

private:
    std::string m_file;
    bool m_seen = false;
};

void installFirstPaintWatch()
{
    const char* file = std::getenv("VARNOK_FIRST_PAINT_FILE");
    if (!file || !*file)
        return;
    QCoreApplication* app = QCoreApplication::instance();
    auto* watch = new FirstPaintWatch(file);
    watch->setParent(app);
    app->installEventFilter(watch);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installFirstPaintWatch)
