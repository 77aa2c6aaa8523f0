#include "app/EventTable.h"
#include "platform/NativeFileSystem.h"
#include "platform/QtDesktop.h"
#include "setup/Startup.h"
#include "window/Form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnok"));

    NativeFileSystem fileSystem;
    QtDesktop desktop;
    Form1 form(fileSystem, desktop);
    connectEvents(form);
    if (!runStartup(form))
        return 1;
    form.show();
    return QApplication::exec();
}
