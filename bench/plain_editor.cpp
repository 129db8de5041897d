// The yardstick for start-up: a bare QPlainTextEdit in a main window, built
// with the same Qt, showing the same kind of window the editor shows.
#include <QApplication>
#include <QMainWindow>
#include <QPlainTextEdit>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Plain editor"));
    auto* edit = new QPlainTextEdit(&window);
    window.setCentralWidget(edit);
    window.resize(676, 512);
    window.show();
    return app.exec();
}
