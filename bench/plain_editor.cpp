// The yardstick for start-up: a plain text editor, a QPlainTextEdit in a
// main window with the usual File and Edit menus and a status bar, built
// with the same Qt and shown at the editor's size.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Plain editor"));
    auto* edit = new QPlainTextEdit(&window);
    window.setCentralWidget(edit);
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New"), QKeySequence::New, edit, &QPlainTextEdit::clear);
    file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, &app, &QApplication::quit);
    QMenu* editMenu = window.menuBar()->addMenu(QStringLiteral("&Edit"));
    editMenu->addAction(QStringLiteral("&Undo"), QKeySequence::Undo, edit, &QPlainTextEdit::undo);
    editMenu->addAction(QStringLiteral("Select &All"), QKeySequence::SelectAll, edit,
                        &QPlainTextEdit::selectAll);
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.resize(676, 512);
    window.show();
    return app.exec();
}
