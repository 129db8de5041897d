#pragma once

#include <QDialog>

#include "markup/document_search.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless find dialog, or with `withReplace` the replace dialog. It
// keeps its fields and choices while the main window lives; the commands
// read them when one of its buttons is pressed.
class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    // Each field holds at most this many bytes in its Big5 form.
    static constexpr int kFieldBytes = 255;

    FindReplaceDialog(bool withReplace, QWidget* parent);

    QString findText() const;
    QString replaceText() const;
    markup::FindOptions options() const;
    // Which button last asked for a replacement: Replace All or Replace.
    bool replaceAll() const { return m_replaceAll; }

    // Shows the dialog, or brings it to the front as it was, with the find
    // field ready for typing.
    void showInFront();
    // Moves the dialog above or below `area` (global coordinates) when it
    // covers it, so what was found can be seen.
    void keepClearOf(const QRect& area);

    void setVisible(bool visible) override;

Q_SIGNALS:
    void findNext();
    void replace();

private:
    QLineEdit* m_findField = nullptr;
    QLineEdit* m_replaceField = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    bool m_replaceAll = false;
    bool m_sized = false;
};

// The longest start of `text` whose Big5 form has at most maxBytes bytes,
// never ending inside a character. A character Big5 cannot hold counts as the
// one byte it would be written as.
qsizetype Big5FittingLength(QStringView text, int maxBytes);
