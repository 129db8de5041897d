#include "convert/chinese_script.h"

#include <opencc/opencc.h>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

#include "convert/tag_scan.h"
#include "markup/tag_table.h"
#include "text/big5_codec.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

constexpr std::array<const char*, 4> kNames = {"s2twp", "s2hk", "t2s", "t2tw"};

// Text converted in pieces of about this many characters, so that a cancel
// is noticed soon.
constexpr qsizetype kPieceChars = 256 * 1024;

// OpenCC's converters, made once each; nothing where the configuration
// cannot be read.
const opencc::SimpleConverter* ConverterFor(ScriptConversion conversion)
{
    static std::mutex made;
    static std::array<std::unique_ptr<opencc::SimpleConverter>, 4> converters;
    static std::array<bool, 4> tried = {};
    const std::size_t index = std::size_t(conversion);
    const std::lock_guard lock(made);
    if (!tried[index]) {
        tried[index] = true;
        try {
            converters[index] =
                std::make_unique<opencc::SimpleConverter>(std::string(kNames[index]) + ".json");
        } catch (const std::exception&) {
        }
    }
    return converters[index].get();
}

bool Kept(QChar c)
{
    // A byte a Big5 file kept, and what stands for a kept tag.
    return (c.unicode() >= text::kBig5PlaceholderBase + 0x80 &&
            c.unicode() < text::kBig5PlaceholderBase + 0x100);
}

}  // namespace

QString ScriptConversionName(ScriptConversion conversion)
{
    return QString::fromLatin1(kNames[std::size_t(conversion)]);
}

std::optional<ScriptConversion> ScriptConversionNamed(QStringView name)
{
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (name == QLatin1StringView(kNames[i])) return ScriptConversion(i);
    return std::nullopt;
}

bool ScriptConversionAvailable(ScriptConversion conversion)
{
    // The configuration and the dictionaries it names, looked for where
    // OpenCC reads them; not read, which takes tens of milliseconds and
    // megabytes a conversion, kept for when it is first used.
    const QString folder = QStringLiteral(QUILLPOST_OPENCC_DATA "/");
    QFile config(folder + QLatin1StringView(kNames[std::size_t(conversion)]) + u".json"_s);
    if (!config.open(QIODevice::ReadOnly)) return false;
    const QJsonDocument read = QJsonDocument::fromJson(config.readAll());
    if (!read.isObject()) return false;
    bool present = true;
    const std::function<void(const QJsonValue&)> check = [&](const QJsonValue& value) {
        if (value.isArray()) {
            for (const QJsonValue& item : value.toArray()) check(item);
        } else if (value.isObject()) {
            const QJsonObject object = value.toObject();
            for (auto field = object.begin(); field != object.end(); ++field) {
                if (field.key() == u"file"_s)
                    present = present && QFileInfo(folder + field.value().toString()).isFile();
                else
                    check(field.value());
            }
        }
    };
    check(read.object());
    return present;
}

std::optional<QString> ConvertScript(const QString& text, ScriptConversion conversion,
                                     const std::atomic_bool* cancel)
{
    const opencc::SimpleConverter* const converter = ConverterFor(conversion);
    if (!converter) return std::nullopt;
    // The runs of text between what stays: the tags, and the kept bytes,
    // which no UTF-8 can carry to the converter.
    QString result;
    result.reserve(text.size() + text.size() / 8);
    QString run;
    // Converts the run up to `length` characters, the rest staying for more.
    const auto flushPart = [&](qsizetype length) {
        if (length == 0) return;
        const QByteArray bytes = QStringView(run).first(length).toUtf8();
        const std::string converted = converter->Convert(bytes.constData(), size_t(bytes.size()));
        result += QString::fromUtf8(converted.data(), qsizetype(converted.size()));
        run.remove(0, length);
    };
    const auto flush = [&] { flushPart(run.size()); };
    // Where the text stays as it is: the tags, and a picture's address from
    // its opener to its closer on the same line.
    QList<std::pair<qsizetype, qsizetype>> kept;  // start and end
    scan::Scanner scanner(text);
    scan::Tag tag;
    qsizetype picture = -1;  // where an open picture's opener starts
    while (scanner.next(tag)) {
        const bool opensPicture =
            tag.role == scan::Role::Opener && scan::KindAt(tag.kind).opener == markup::kPictureOpen;
        if (picture >= 0 && scanner.lineEnd(picture) < tag.start) picture = -1;
        if (picture >= 0 && !opensPicture &&
            scan::KindAt(tag.kind).opener == markup::kPictureOpen) {
            kept.last().second = tag.start + tag.length;
            picture = -1;
            continue;
        }
        if (!kept.isEmpty() && tag.start < kept.last().second) continue;  // taken already
        kept.append({tag.start, tag.start + tag.length});
        if (opensPicture) {
            picture = tag.start;
            kept.last().second = std::max(kept.last().second, scanner.lineEnd(tag.start));
        }
    }
    qsizetype at = 0;
    qsizetype sinceLook = kPieceChars - 1;  // characters since the cancel was looked at
    for (qsizetype k = 0; k <= kept.size(); ++k) {
        const qsizetype end = k < kept.size() ? kept[k].first : text.size();
        for (; at < end; ++at) {
            if (cancel && ++sinceLook == kPieceChars) {
                sinceLook = 0;
                if (cancel->load()) return std::nullopt;
            }
            if (Kept(text[at])) {
                flush();
                result += text[at];
            } else {
                run += text[at];
                // A long run goes in parts, cut after a line break: a phrase
                // (软件, 軟體) is never cut in two.
                if (run.size() >= kPieceChars) flushPart(run.lastIndexOf(u'\n') + 1);
            }
        }
        if (k == kept.size()) break;
        flush();
        result += QStringView(text).sliced(kept[k].first, kept[k].second - kept[k].first);
        at = kept[k].second;
    }
    flush();
    return result;
}

}  // namespace convert
