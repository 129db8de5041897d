#include "spell/dictionary.h"

#include <hunspell.hxx>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace spell {

namespace {

// Verdicts kept at most; past that they are forgotten and asked again.
constexpr qsizetype kKnownAtMost = 200000;
// Hunspell reads words up to this many bytes.
constexpr qsizetype kLongestWord = 100;

QStringList DictionaryFolders()
{
    QStringList folders;
    for (const QString& folder : qEnvironmentVariable("DICPATH").split(u':', Qt::SkipEmptyParts))
        folders.append(folder);
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + u"/hunspell"_s << data + u"/myspell"_s;
    return folders;
}

// Hunspell's names for encodings ("ISO8859-1", "microsoft-cp1251") as ICU
// and Qt know them.
QByteArray EncodingName(const std::string& hunspell)
{
    QByteArray name = QByteArray::fromStdString(hunspell).trimmed();
    if (name.startsWith("ISO8859")) name.insert(3, '-');
    if (name.startsWith("microsoft-cp")) name = "windows-" + name.mid(12);
    return name;
}

}  // namespace

QList<DictionaryFiles> InstalledDictionaries()
{
    QList<DictionaryFiles> found;
    for (const QString& folder : DictionaryFolders()) {
        const QDir dir(folder);
        // Sorted here, not by QDir, whose sorting by name starts a collator.
        QStringList affixes = dir.entryList({u"*.aff"_s}, QDir::Files, QDir::Unsorted);
        std::sort(affixes.begin(), affixes.end());
        for (const QString& affix : affixes) {
            const QString name = affix.chopped(4);
            const QString words = dir.filePath(name + u".dic"_s);
            if (!QFileInfo(words).isFile()) continue;
            const bool known = std::any_of(found.cbegin(), found.cend(),
                                           [&](const auto& d) { return d.name == name; });
            if (!known) found.append({name, dir.filePath(affix), words});
        }
    }
    return found;
}

QString PersonalDictionaryFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           u"/quillpost/dictionary.txt"_s;
}

std::unique_ptr<Dictionary> Dictionary::Open(const DictionaryFiles& files, QString* problem)
{
    for (const QString& path : {files.affix, files.words}) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *problem = u"無法讀取字典檔 %1：%2"_s.arg(path, file.errorString());
            return {};
        }
    }
    std::unique_ptr<Dictionary> made(new Dictionary);
    made->m_name = files.name;
    made->m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(files.affix).constData(),
                                                  QFile::encodeName(files.words).constData());
    const QByteArray encoding = EncodingName(made->m_hunspell->get_dict_encoding());
    made->m_encoder = QStringEncoder(encoding.constData());
    made->m_decoder = QStringDecoder(encoding.constData());
    if (!made->m_encoder.isValid() || !made->m_decoder.isValid()) {
        *problem = u"字典 %1 的編碼 %2 無法使用"_s.arg(files.name, QString::fromLatin1(encoding));
        return {};
    }
    return made;
}

Dictionary::~Dictionary() = default;

bool Dictionary::encode(QStringView word, QByteArray& bytes)
{
    m_encoder.resetState();
    bytes = m_encoder.encode(word);
    return !m_encoder.hasError() && bytes.size() <= kLongestWord;
}

bool Dictionary::isCorrect(QStringView word)
{
    const auto found = m_known.constFind(word.toString());
    if (found != m_known.cend()) return *found;
    QByteArray bytes;
    const bool correct = !encode(word, bytes) || m_hunspell->spell(bytes.toStdString());
    if (m_known.size() >= kKnownAtMost) m_known.clear();
    m_known.insert(word.toString(), correct);
    return correct;
}

QStringList Dictionary::suggestions(QStringView word, int atMost)
{
    QByteArray bytes;
    if (!encode(word, bytes)) return {};
    QStringList made;
    for (const std::string& suggestion : m_hunspell->suggest(bytes.toStdString())) {
        if (made.size() == atMost) break;
        m_decoder.resetState();
        const QString text = m_decoder.decode(QByteArrayView(suggestion));
        if (!m_decoder.hasError() && !made.contains(text)) made.append(text);
    }
    return made;
}

void Dictionary::learn(const QString& word)
{
    QByteArray bytes;
    if (encode(word, bytes)) m_hunspell->add(bytes.toStdString());
    m_known.insert(word, true);
}

bool Dictionary::readPersonal(const QString& fileName, QString* problem)
{
    QFile file(fileName);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = u"無法讀取個人字典 %1：%2"_s.arg(fileName, file.errorString());
        return false;
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString word = QString::fromUtf8(line).trimmed();
        if (!word.isEmpty()) learn(word);
    }
    return true;
}

bool Dictionary::addPersonal(const QString& fileName, const QString& word, QString* problem)
{
    learn(word);
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) ||
        file.write(word.toUtf8() + '\n') < 0 || !file.flush()) {
        *problem = u"無法寫入個人字典 %1：%2"_s.arg(fileName, file.errorString());
        return false;
    }
    return true;
}

}  // namespace spell
