#pragma once

#include <QString>
#include <QStringView>
#include <atomic>
#include <optional>

// Simplified and Traditional Chinese converted into each other with OpenCC,
// with regional words (软件: 軟體 in Taiwan, 軟件 in Hong Kong).
namespace convert {

enum class ScriptConversion {
    SimplifiedToTaiwan,       // 簡體→繁體（臺灣用語）: OpenCC's s2twp
    SimplifiedToHongKong,     // 簡體→繁體（香港）: s2hk
    TraditionalToSimplified,  // 繁體→簡體: t2s
    TraditionalToTaiwan,      // 繁體→臺灣正體: t2tw
};

// OpenCC's name of the conversion: "s2twp", "s2hk", "t2s", "t2tw".
QString ScriptConversionName(ScriptConversion conversion);
// The conversion of that name; nothing for another name.
std::optional<ScriptConversion> ScriptConversionNamed(QStringView name);

// Whether OpenCC and the conversion's configuration files (Debian's
// libopencc-data) are there.
bool ScriptConversionAvailable(ScriptConversion conversion);

// The text converted where it is text: the converter's tags, with their
// values (faces such as "微软雅黑", link and picture addresses), and the
// bytes a Big5 file kept as they were stay as they are. Nothing when the
// conversion is not available, or when `cancel` was set meanwhile.
std::optional<QString> ConvertScript(const QString& text, ScriptConversion conversion,
                                     const std::atomic_bool* cancel = nullptr);

}  // namespace convert
