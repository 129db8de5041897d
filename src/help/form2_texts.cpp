#include "help/form2_texts.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace help {

QString VersionNotes()
{
    return QStringList{
        u"■說明："_s,
        QString(),
        u"    ●4.0版："_s,
        QString(),
        u"      ◎本版提供論壇發文表單所使用的YBB語法編輯。"_s,
        QString(),
        u"      ◎適用於常見論壇網站的發文編輯器。"_s,
        QString(),
        u"      ◎其他採用YBB語法的發文區也一樣適用。"_s,
        QString(),
        u"    ●編修後，按「複製」按鈕，就幫你傳至剪貼簿。"_s,
        QString(),
        u"    ●新增 「HTML語法」轉換「純文字」功能。"_s,
    }
        .join(u'\n');
}

QString UsageText()
{
    return QStringList{
        u"使用技巧："_s,
        QString(),
        u"一、一般操作技巧："_s,
        u"  1.先打入內容文字。"_s,
        u"  2.選擇你要變更的文字。"_s,
        u"  3.選取[B]按鈕。"_s,
        u"  4.檔案選單-->網頁預覽。"_s,
        u"   "_s,
        u"二、超連結、電子信箱、圖片、項目列： "_s,
        u"    直接加入，不用選擇文字，填入相關文字即可。"_s,
        QString(),
        u"三、符號表中「刮號」與第一項操作相同，"_s,
        u"    亦可直接加入編輯區中。"_s,
        QString(),
        u"四、YBB字型工具列操作方式：與第一項相同。"_s,
    }
        .join(u'\n');
}

QString CautionsText()
{
    return QStringList{
        u"使用注意事項： "_s,
        QString(),
        u"若要轉成HTML，記得不要改「YBB字型工具列」"_s,
        QString(),
        u"跑出來的文字，因為每組[ ]前後都要空一格。"_s,
        QString(),
        u"例如："_s,
        QString(),
        u"正確空格(表示空格： _ ) ："_s,
        QString(),
        u"_[font=Arial]_YBB字型工具列_[/font=Arial]_"_s,
        QString(),
        u"錯誤："_s,
        QString(),
        u" [font=Arial]YBB字型工具列[/font=Arial]"_s,
    }
        .join(u'\n');
}

}  // namespace help
