#pragma once

#include "web/SessionStore.h"
#include "web/TodayFeed.h"
#include "web/WebExchange.h"
#include "web/WebLanguage.h"

#include <QObject>

// What the web pages answer to each request: sign-in and sessions, the
// pages and the month's downloads, and a clear 4xx for anything else.
// Reads only, through the read-only connection; runs on the thread of the
// server.
class WebSite : public QObject {
    Q_OBJECT
public:
    struct Options {
        bool backgroundToday = true; // TodayFeed's background thread
    };
    explicit WebSite(const Options& options, QObject* parent = nullptr);

    WebResponse Handle(const WebRequest& request);

    // The name of the session cookie.
    static constexpr const char* kCookie = "attendance_session";
    // The longest path and query value taken, and the largest body (a form).
    static constexpr int kMaxPath = 1024;
    static constexpr int kMaxValue = 256;
    static constexpr int kMaxBody = 16 * 1024;

    SessionStore& sessions() { return m_sessions; }

private:
    WebResponse answer(const WebRequest& request);
    WebResponse signIn(const WebRequest& request);
    WebResponse signOut(const WebRequest& request);
    WebResponse today(const WebRequest& request);
    WebResponse notArrived();
    WebResponse missing(const WebRequest& request);
    WebResponse month(const WebRequest& request);
    WebResponse download(const WebRequest& request, const QString& kind);
    WebResponse employee(const WebRequest& request);

    QByteArray sessionToken(const WebRequest& request) const;

    SessionStore m_sessions;
    WebLanguage m_languages; // before the feed, whose thread uses its translators
    // The language of the request being answered.
    UiLanguage m_choice = UiLanguage::Chinese;
    Translation m_language = Translation::Of(UiLanguage::Chinese);
    TodayFeed m_today;
};
