#include "app/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QValidator>

#include "text/big5_codec.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Bytes of one code point in Big5; one for what Big5 cannot hold.
qsizetype Big5Width(QStringView character)
{
    if (character.size() == 1 && character.front().unicode() < 0x80) return 1;
    const text::Big5Encoded encoded = text::EncodeBig5(character, text::Unencodable::Fail);
    return encoded.ok() ? encoded.bytes.size() : 1;
}

qsizetype CodePointLength(QStringView text, qsizetype index)
{
    return text.at(index).isHighSurrogate() && index + 1 < text.size() &&
                   text.at(index + 1).isLowSurrogate()
               ? 2
               : 1;
}

// Where the first line break in the text is, or -1.
qsizetype FirstBreak(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            return i;
    }
    return -1;
}

// Keeps a field on one line and within its byte limit. An edit that would
// break either keeps as much of what it inserted as fits, where it was
// inserted, up to a line break in it: typing at the limit does nothing and a
// long or multi-line paste is cut, never through a character.
class Big5LimitValidator final : public QValidator {
public:
    Big5LimitValidator(int maxBytes, QObject* parent) : QValidator(parent), m_maxBytes(maxBytes) {}

    State validate(QString& input, int& position) const override
    {
        if (FirstBreak(input) < 0 && Big5FittingLength(input, m_maxBytes) == input.size()) {
            m_last = input;
            return Acceptable;
        }
        // The edit replaced the middle of the last text: keep what it left
        // around, cut what it put in.
        qsizetype prefix = 0;
        const qsizetype shorter = std::min(input.size(), m_last.size());
        while (prefix < shorter && input.at(prefix) == m_last.at(prefix)) ++prefix;
        qsizetype suffix = 0;
        while (suffix < shorter - prefix &&
               input.at(input.size() - 1 - suffix) == m_last.at(m_last.size() - 1 - suffix))
            ++suffix;
        if (prefix > 0 && input.at(prefix - 1).isHighSurrogate()) --prefix;
        if (suffix > 0 && input.at(input.size() - suffix).isLowSurrogate()) --suffix;
        const QString kept = input.left(prefix) + input.right(suffix);
        if (FirstBreak(kept) >= 0 || Big5FittingLength(kept, m_maxBytes) < kept.size()) {
            // Not an edit of the last text: the start of the new one.
            const qsizetype lineEnd = FirstBreak(input);
            if (lineEnd >= 0) input.truncate(lineEnd);
            input.truncate(Big5FittingLength(input, m_maxBytes));
            position = int(std::min<qsizetype>(position, input.size()));
        } else {
            qsizetype keptBytes = 0;
            for (qsizetype i = 0; i < kept.size(); i += CodePointLength(kept, i))
                keptBytes += Big5Width(QStringView(kept).mid(i, CodePointLength(kept, i)));
            QStringView inserted = QStringView(input).mid(prefix, input.size() - prefix - suffix);
            const qsizetype lineEnd = FirstBreak(inserted);
            if (lineEnd >= 0) inserted = inserted.left(lineEnd);
            const qsizetype fits = Big5FittingLength(inserted, int(m_maxBytes - keptBytes));
            input = input.left(prefix) + inserted.left(fits).toString() + input.right(suffix);
            position = int(prefix + fits);
        }
        m_last = input;
        return Acceptable;
    }

private:
    int m_maxBytes;
    mutable QString m_last;  // the field's text after the last edit
};

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

qsizetype Big5FittingLength(QStringView text, int maxBytes)
{
    qsizetype bytes = 0;
    qsizetype index = 0;
    while (index < text.size()) {
        const qsizetype length = CodePointLength(text, index);
        bytes += Big5Width(text.mid(index, length));
        if (bytes > maxBytes) break;
        index += length;
    }
    return index;
}

FindReplaceDialog::FindReplaceDialog(bool withReplace, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(withReplace ? u"取代"_s : u"尋找"_s);
    setModal(false);

    auto* fields = new QGridLayout;
    auto addField = [&](int row, const char* name, const QString& label) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        field->setValidator(new Big5LimitValidator(kFieldBytes, field));
        field->setMinimumWidth(200);
        auto* caption = new QLabel(label, this);
        caption->setBuddy(field);
        fields->addWidget(caption, row, 0);
        fields->addWidget(field, row, 1);
        return field;
    };
    m_findField = addField(0, "FindText", u"尋找目標(&N):"_s);
    if (withReplace) m_replaceField = addField(1, "ReplaceText", u"取代為(&P):"_s);

    m_wholeWord = new QCheckBox(u"全字拼寫須相符(&W)"_s, this);
    m_wholeWord->setObjectName(u"WholeWord"_s);
    m_matchCase = new QCheckBox(u"大小寫須相符(&C)"_s, this);
    m_matchCase->setObjectName(u"MatchCase"_s);
    m_matchCase->setChecked(true);
    auto* checks = new QVBoxLayout;
    checks->addStretch(1);
    checks->addWidget(m_wholeWord);
    checks->addWidget(m_matchCase);

    auto* direction = new QGroupBox(u"方向"_s, this);
    direction->setObjectName(u"Direction"_s);
    m_up = new QRadioButton(u"向上(&U)"_s, direction);
    m_up->setObjectName(u"Up"_s);
    m_down = new QRadioButton(u"向下(&D)"_s, direction);
    m_down->setObjectName(u"Down"_s);
    m_down->setChecked(true);
    auto* directions = new QHBoxLayout(direction);
    directions->addWidget(m_up);
    directions->addWidget(m_down);

    auto* choices = new QHBoxLayout;
    choices->addLayout(checks);
    choices->addWidget(direction);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addStretch(1);
    left->addLayout(choices);

    auto* buttons = new QVBoxLayout;
    QPushButton* findNextButton = MakeButton(this, "FindNext", u"找下一個(&F)"_s);
    findNextButton->setDefault(true);
    buttons->addWidget(findNextButton);
    QList<QPushButton*> needText = {findNextButton};
    if (withReplace) {
        QPushButton* replaceButton = MakeButton(this, "Replace", u"取代(&R)"_s);
        QPushButton* replaceAllButton = MakeButton(this, "ReplaceAll", u"全部取代(&A)"_s);
        buttons->addWidget(replaceButton);
        buttons->addWidget(replaceAllButton);
        needText << replaceButton << replaceAllButton;
        connect(replaceButton, &QPushButton::clicked, this, [this] {
            m_replaceAll = false;
            Q_EMIT replace();
        });
        connect(replaceAllButton, &QPushButton::clicked, this, [this] {
            m_replaceAll = true;
            Q_EMIT replace();
        });
    }
    QPushButton* cancelButton = MakeButton(this, "Cancel", u"取消"_s);
    buttons->addWidget(cancelButton);
    buttons->addStretch(1);
    connect(findNextButton, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // Nothing to look for, nothing to press.
    for (QPushButton* button : needText) button->setEnabled(false);
    connect(m_findField, &QLineEdit::textChanged, this, [needText](const QString& text) {
        for (QPushButton* button : needText) button->setEnabled(!text.isEmpty());
    });

    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 1);
    columns->addLayout(buttons);
}

void FindReplaceDialog::setVisible(bool visible)
{
    // Sized when first shown: measuring the captions loads the dialog's
    // font, which start-up would otherwise pay for.
    if (visible && !m_sized) {
        m_sized = true;
        setFixedSize(sizeHint());
    }
    QDialog::setVisible(visible);
}

QString FindReplaceDialog::findText() const
{
    return m_findField->text();
}

QString FindReplaceDialog::replaceText() const
{
    return m_replaceField ? m_replaceField->text() : QString();
}

markup::FindOptions FindReplaceDialog::options() const
{
    return {m_matchCase->isChecked(), m_wholeWord->isChecked(), m_up->isChecked()};
}

void FindReplaceDialog::showInFront()
{
    if (!isVisible()) show();
    raise();
    activateWindow();
    m_findField->setFocus();
    m_findField->selectAll();
}

void FindReplaceDialog::keepClearOf(const QRect& area)
{
    const QRect frame = frameGeometry();
    if (!isVisible() || !frame.intersects(area)) return;
    const QScreen* shown = screen();
    const QRect desk = shown ? shown->availableGeometry() : QRect();
    const int above = area.top() - frame.height();
    const int y = above >= desk.top() || desk.isNull() ? above : area.bottom() + 1;
    move(frame.x(), y);
}
