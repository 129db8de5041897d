#pragma once

#include <QString>
#include <QVariant>

// The only settings the program keeps between runs: whether the live preview
// beside the editing area, the tag colouring and the spell check are on, and
// the spell check's dictionary. They live in
// $XDG_CONFIG_HOME/quillpost/quillpost.conf (by default
// ~/.config/quillpost/quillpost.conf), an INI file. Both are off when there is
// no file; the dictionary is then the default one. A file that cannot be read, or read as sense,
// counts as none; one that cannot be written is left alone; neither is ever reported.
class WindowSettings {
public:
    // The file as the environment names it now.
    WindowSettings();

    bool livePreview() const { return value(kLivePreview); }
    bool tagColours() const { return value(kTagColours); }
    void setLivePreview(bool on) { setText(kLivePreview, on); }
    void setTagColours(bool on) { setText(kTagColours, on); }
    bool spellCheck() const { return value(kSpellCheck); }
    void setSpellCheck(bool on) { setText(kSpellCheck, on); }
    // Empty when none was chosen.
    QString dictionary() const { return text(kDictionary); }
    void setDictionary(const QString& name) { setText(kDictionary, name); }

    QString fileName() const { return m_fileName; }

private:
    static constexpr const char* kLivePreview = "view/livePreview";
    static constexpr const char* kTagColours = "view/tagColours";
    static constexpr const char* kSpellCheck = "view/spellCheck";
    static constexpr const char* kDictionary = "view/dictionary";

    // Empty where the file cannot be read or holds no such key.
    QString text(const char* key) const;
    void setText(const char* key, const QVariant& value);
    bool value(const char* key) const;

    QString m_fileName;
};
