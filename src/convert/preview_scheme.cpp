#include "convert/preview_scheme.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace convert {

QByteArray PreviewSchemeHandler::schemeName()
{
    return QByteArrayLiteral("quillpost-preview");
}

void RegisterPreviewScheme()
{
    const QByteArray name = PreviewSchemeHandler::schemeName();
    if (QWebEngineUrlScheme::schemeByName(name).name() == name) return;
    QWebEngineUrlScheme scheme(name);
    // Every page under one host, so one origin: the engine then draws each
    // new page in the process that drew the last one. Without a host each
    // page would be an origin of its own, and get a new process.
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Deliberately neither local nor secure: the page is treated like one from
    // the web, so it may fetch http pictures (no mixed-content blocking) but
    // may not read file:// URLs.
    scheme.setFlags({});
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl PreviewSchemeHandler::publish(const QByteArray& bytes)
{
    ++m_serial;
    m_url = QUrl(QString::fromLatin1(schemeName()) + QStringLiteral("://post/page-") +
                 QString::number(m_serial));
    m_bytes = bytes;
    return m_url;
}

void PreviewSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    if (job->requestMethod() != "GET" || job->requestUrl() != m_url) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // No charset in the content type: the engine then takes the one the
    // page's meta tag declares (Big5).
    auto* buffer = new QBuffer(job);
    buffer->setData(m_bytes);
    buffer->open(QIODevice::ReadOnly);
    job->reply(QByteArrayLiteral("text/html"), buffer);
}

}  // namespace convert
