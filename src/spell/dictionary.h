#pragma once

#include <QHash>
#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <memory>

class Hunspell;

// The spelling dictionaries the system has (Hunspell's), one opened at a
// time, with the words the user added to it.
namespace spell {

struct DictionaryFiles {
    QString name;  // "en_US"
    QString affix;
    QString words;
};

// The dictionaries in the folders of DICPATH (colon-separated, as the
// hunspell command reads it), then in hunspell/ and myspell/ of
// $XDG_DATA_HOME and of each of $XDG_DATA_DIRS (/usr/share), by name; a
// name found twice is the first one's.
QList<DictionaryFiles> InstalledDictionaries();

// The dictionary the program uses until the user chooses another.
inline constexpr QStringView kDefaultDictionary = u"en_US";
// The Debian package that brings it.
inline constexpr QStringView kDefaultDictionaryPackage = u"hunspell-en-us";

// $XDG_DATA_HOME/quillpost/dictionary.txt: one word a line, in UTF-8.
QString PersonalDictionaryFile();

class Dictionary {
public:
    // An empty pointer, with `problem` saying why, when the files cannot be
    // read or their encoding is unknown.
    static std::unique_ptr<Dictionary> Open(const DictionaryFiles& files, QString* problem);
    ~Dictionary();

    QString name() const { return m_name; }
    // Whether the word is spelt right; a word the dictionary's encoding
    // cannot hold counts as right, since the dictionary cannot judge it.
    bool isCorrect(QStringView word);
    // At most `atMost` spellings the dictionary proposes, best first.
    QStringList suggestions(QStringView word, int atMost = 5);

    // The user's own words: read from `fileName` (a missing file holds
    // none) and added to it. False, with the reason, when the file cannot
    // be read or written; the words are known for this session anyway.
    bool readPersonal(const QString& fileName, QString* problem);
    bool addPersonal(const QString& fileName, const QString& word, QString* problem);

private:
    Dictionary() = default;
    bool encode(QStringView word, QByteArray& bytes);
    void learn(const QString& word);

    QString m_name;
    std::unique_ptr<Hunspell> m_hunspell;
    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
    QHash<QString, bool> m_known;  // the verdicts so far
};

}  // namespace spell
