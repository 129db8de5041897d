#pragma once

#include <QString>

// The only settings the program keeps between runs: whether the live preview
// beside the editing area, the tag colouring and the spell check are on, and
// the spell check's dictionary. They live in
// $XDG_CONFIG_HOME/quillpost/quillpost.conf (by default
// ~/.config/quillpost/quillpost.conf), an INI file. Both are off when there is
// no file; the dictionary is then the default one. A file that cannot be read, or read as sense, counts as none; one
// that cannot be written is left alone; neither is ever reported.
class WindowSettings {
public:
    // The file as the environment names it now.
    WindowSettings();

    bool livePreview() const { return value(kLivePreview); }
    bool tagColours() const { return value(kTagColours); }
    void setLivePreview(bool on) { setValue(kLivePreview, on); }
    void setTagColours(bool on) { setValue(kTagColours, on); }
    bool spellCheck() const { return value(kSpellCheck); }
    void setSpellCheck(bool on) { setValue(kSpellCheck, on); }
    // Empty when none was chosen.
    QString dictionary() const;
    void setDictionary(const QString& name);

    QString fileName() const { return m_fileName; }

private:
    static constexpr const char* kLivePreview = "view/livePreview";
    static constexpr const char* kTagColours = "view/tagColours";
    static constexpr const char* kSpellCheck = "view/spellCheck";
    static constexpr const char* kDictionary = "view/dictionary";

    bool value(const char* key) const;
    void setValue(const char* key, bool on);

    QString m_fileName;
};
