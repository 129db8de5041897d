#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QTabWidget;

namespace help {

// The help dialog: three pages of static text about this version, its use
// and the spacing that the font toolbar's tags depend on. The main window
// creates one hidden instance at start-up and keeps it for the whole run;
// closing only hides it, so the page last chosen is still there next time.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // Client size of the window; it cannot be resized.
    static constexpr int kClientWidth = 377;
    static constexpr int kClientHeight = 298;

    // Shows the dialog without blocking the other windows; if it is
    // already open it is only brought to the front.
    void showInFront();

    // Components, by their layout names.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;  // version
    QWidget* TabSheet2 = nullptr;  // usage
    QWidget* TabSheet3 = nullptr;  // cautions
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label1 = nullptr;  // freeware note
    QLabel* Label2 = nullptr;  // feedback line
    QLabel* Label3 = nullptr;  // version notes
    QLabel* Label4 = nullptr;  // usage text
    QLabel* Label5 = nullptr;  // cautions text

private:
    void buildVersionPage();
    void buildUsagePage();
    void buildCautionsPage();
};

}  // namespace help
