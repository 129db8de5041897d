#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSize>

namespace tray {

// Images of one size, handed out by index as icons; the tray animation steps
// through them.
class ImageList : public QObject {
    Q_OBJECT
public:
    explicit ImageList(QSize size, QObject* parent = nullptr) : QObject(parent), m_size(size) {}

    QSize imageSize() const { return m_size; }
    int count() const { return int(m_images.size()); }
    void add(const QIcon& image) { m_images.append(image); }
    void clear() { m_images.clear(); }
    // An empty icon when the index is out of range.
    QIcon icon(int index) const { return m_images.value(index); }

private:
    QSize m_size;
    QList<QIcon> m_images;
};

}  // namespace tray
