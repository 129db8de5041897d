#pragma once

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace convert {

// The browser engine learns its URL schemes only while it starts, that is
// before the first profile or page is made; the preview view calls this
// before it makes its own. Calling it again does nothing.
void RegisterPreviewScheme();

// Serves the page the preview currently shows. Handing the engine the bytes
// through a URL instead of as inline content lifts the size limit of inline
// content, so that posts of several megabytes still preview.
class PreviewSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    static QByteArray schemeName();

    // Makes `bytes` the page served, under a URL no earlier page had, so the
    // engine never answers from what it kept of an older page.
    QUrl publish(const QByteArray& bytes);

    // Serves `bytes` under the address of the page published last.
    void replace(const QByteArray& bytes) { m_bytes = bytes; }
    QUrl url() const { return m_url; }

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QUrl m_url;
    QByteArray m_bytes;
    quint64 m_serial = 0;
};

}  // namespace convert
