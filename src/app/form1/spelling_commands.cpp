// 檢視 > 英文拼字檢查 and 拼字檢查字典: misspelt words of Latin script
// underlined in the editing area, and on a marked word the context menu's
// suggestions and 加入字典.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMetaObject>
#include <QPointer>
#include <QTextCursor>
#include <QThreadPool>
#include <memory>
#include <utility>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "app/window_settings.h"
#include "spell/dictionary.h"
#include "spell/spell_layer.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The dictionary chosen last, else the default one, else the first one
// there is; empty when the system has none.
spell::DictionaryFiles ChosenDictionary(
    const QString& chosen,
    const QList<spell::DictionaryFiles>& installed = spell::InstalledDictionaries())
{
    for (const QString& name : {chosen, spell::kDefaultDictionary.toString()})
        for (const spell::DictionaryFiles& files : installed)
            if (files.name == name) return files;
    return installed.value(0);
}

}  // namespace

void TForm1::setUpSpellCheck()
{
    auto* const submenu = findChild<QMenu*>(u"N74"_s);
    auto* const group = submenu->findChild<QActionGroup*>();
    const QList<spell::DictionaryFiles> installed = spell::InstalledDictionaries();
    const spell::DictionaryFiles chosen = ChosenDictionary(m_settings->dictionary(), installed);
    for (const spell::DictionaryFiles& files : installed) {
        QAction* const entry = submenu->addAction(files.name);
        entry->setCheckable(true);
        entry->setChecked(files.name == chosen.name);
        group->addAction(entry);
        connect(entry, &QAction::triggered, this,
                [this, name = files.name] { chooseDictionary(name); });
    }
    if (chosen.name.isEmpty()) {
        const QString needed = u"需要安裝拼字檢查字典（Debian 套件 %1）"_s.arg(
            spell::kDefaultDictionaryPackage.toString());
        for (QAction* item : {action("N73"), submenu->menuAction()}) {
            item->setEnabled(false);
            item->setToolTip(needed);
        }
        // A greyed item says why when pointed at.
        submenu->parentWidget()->setProperty("toolTipsVisible", true);
    }
    Memo1->setContextMenuAdditions(
        [this](int position, QObject* owner) { return spellingEntries(position, owner); });
}

void TForm1::N73Click()
{
    const bool on = action("N73")->isChecked();
    switchSpellCheck(on);
    m_settings->setSpellCheck(on);
}

void TForm1::switchSpellCheck(bool on)
{
    const quint64 request = ++m_spellRequests;
    if (m_spellLayer) {
        Memo1->setPaintAfter({});
        delete std::exchange(m_spellLayer, nullptr);
    }
    if (!on) return;
    // Reading a dictionary takes longer than the window may stand still.
    const spell::DictionaryFiles files = ChosenDictionary(m_settings->dictionary());
    QThreadPool::globalInstance()->start([files, request, self = QPointer<TForm1>(this)] {
        QString problem, personalProblem;
        std::unique_ptr<spell::Dictionary> dictionary = spell::Dictionary::Open(files, &problem);
        if (dictionary) dictionary->readPersonal(spell::PersonalDictionaryFile(), &personalProblem);
        auto opened = std::make_shared<std::unique_ptr<spell::Dictionary>>(std::move(dictionary));
        QMetaObject::invokeMethod(self, [self, request, opened, problem, personalProblem] {
            if (self) self->spellCheckOpened(request, std::move(*opened), problem, personalProblem);
        });
    });
}

void TForm1::spellCheckOpened(quint64 request, std::unique_ptr<spell::Dictionary> dictionary,
                              const QString& problem, const QString& personalProblem)
{
    if (request != m_spellRequests) return;  // turned off, or another chosen, since
    if (!personalProblem.isEmpty()) sayPersonalDictionaryProblem(personalProblem);
    if (!dictionary) {
        action("N73")->setChecked(false);
        showPassingNotice(problem);
        return;
    }
    m_spellLayer = new spell::SpellLayer(*Memo1, std::move(dictionary));
    Memo1->setPaintAfter(
        [layer = m_spellLayer](QPainter& painter, const QRect& area, const QTextBlock& first,
                               QPointF offset) { layer->paint(painter, area, first, offset); });
}

void TForm1::chooseDictionary(const QString& name)
{
    m_settings->setDictionary(name);
    if (action("N73")->isChecked()) switchSpellCheck(true);
}

void TForm1::sayPersonalDictionaryProblem(const QString& problem)
{
    if (m_personalProblemSaid) return;
    m_personalProblemSaid = true;
    showPassingNotice(problem + u"，個人字典暫不使用"_s);
}

QList<QAction*> TForm1::spellingEntries(int position, QObject* owner)
{
    if (!m_spellLayer) return {};
    const std::optional<spell::Misspelling> word = m_spellLayer->misspellingAt(position);
    if (!word) return {};
    QList<QAction*> entries;
    for (const QString& suggestion : m_spellLayer->dictionary().suggestions(word->word)) {
        auto* const entry = new QAction(suggestion, owner);
        connect(entry, &QAction::triggered, this, [this, word = *word, suggestion] {
            QTextCursor replace(Memo1->document());
            replace.setPosition(word.position);
            replace.setPosition(word.position + word.length, QTextCursor::KeepAnchor);
            if (replace.selectedText() == word.word) replace.insertText(suggestion);
        });
        entries.append(entry);
    }
    if (entries.isEmpty()) {
        entries.append(new QAction(u"（沒有建議的拼法）"_s, owner));
        entries.last()->setEnabled(false);
    }
    auto* const add = new QAction(u"加入字典"_s, owner);
    connect(add, &QAction::triggered, this, [this, word = word->word] {
        if (!m_spellLayer) return;
        QString problem;
        if (!m_spellLayer->dictionary().addPersonal(spell::PersonalDictionaryFile(), word,
                                                    &problem))
            sayPersonalDictionaryProblem(problem);
        Memo1->viewport()->update();
    });
    entries.append(add);
    return entries;
}
