// The markup the toolbars write and the markup the converter knows are one
// vocabulary: a tag added to one without the other fails here.
#include <gtest/gtest.h>

#include <algorithm>

#include "convert/ybb_to_html.h"
#include "markup/tag_table.h"

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(Vocabulary, EveryTagTheToolbarsWriteIsOneTheConverterKnows)
{
    const QStringList searches = convert::ConversionSearchTexts();
    QStringList written;  // whole texts a button or a box writes around "x"
    for (const markup::TagButton& button : markup::kTagButtons) {
        written.append(button.how == markup::Insertion::Wrap
                           ? button.text.toString() + u"x"_s + button.closing.toString()
                           : button.text.toString());
        for (const QString& tag : markup::TagsOf(button)) {
            // The e-mail link's opener is coloured on into its address.
            const bool known = std::any_of(searches.begin(), searches.end(), [&](const QString& s) {
                return tag == s || (tag.startsWith(s) && !tag.mid(s.size()).contains(u'['));
            });
            EXPECT_TRUE(known) << tag.toStdString();
        }
    }
    for (const markup::TagPair& pair :
         {markup::FaceTags(u"Arial"_s), markup::SizeTags(u"3"_s), markup::ColourTags(u"red"_s)}) {
        written.append(pair.opening + u"x"_s + pair.closing);
        for (const QString& tag : {pair.opening, pair.closing}) {
            // "[font=", "] ", " [", "[/" …: each piece around the value.
            const QStringList pieces = QString(tag)
                                           .replace(u"Arial"_s, u"\n"_s)
                                           .replace(u"3"_s, u"\n"_s)
                                           .replace(u"red"_s, u"\n"_s)
                                           .split(u'\n', Qt::SkipEmptyParts);
            for (const QString& piece : pieces)
                EXPECT_TRUE(searches.contains(piece)) << piece.toStdString();
        }
    }
    // And the converter leaves no bracket of them behind.
    for (const QString& text : written) {
        const QString html = convert::ConvertYbbToHtml(text);
        EXPECT_FALSE(html.contains(u'[') || html.contains(u']'))
            << text.toStdString() << " -> " << html.toStdString();
    }
}

}  // namespace
