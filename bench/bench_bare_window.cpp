// The reference for start-up: a bare window of the main window's size showing one
// line of text, so that it too loads a font.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Form1"));
    window.resize(639, 521); // 9588 x 7812 twips
    auto* line = new QLabel(QStringLiteral("Nº de PC's Activos"), &window);
    line->move(8, 8);
    window.show();
    return QApplication::exec();
}
