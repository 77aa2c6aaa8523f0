#include "app/EventTable.h"
#include "app/WindowFileSystem.h"
#include "platform/QtDesktop.h"
#include "setup/Startup.h"
#include "window/Form1.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnok"));

    WindowFileSystem fileSystem;
    QtDesktop desktop;
    Form1 form(fileSystem.fileSystem(), fileSystem.stationCalls(), desktop);
    fileSystem.attach(form);
    connectEvents(form);
    if (!runStartup(form))
        return 1;
    form.show();
    const int status = QApplication::exec();
    // A call still in hand (a share that does not answer, a slow one) holds its thread: the
    // window is gone already, and the process ends without waiting for that thread.
    if (fileSystem.anyBusy())
        std::_Exit(status);
    return status;
}
