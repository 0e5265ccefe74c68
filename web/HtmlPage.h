#pragma once

#include "texts/Translation.h"

#include <QString>

// The frame of every page: one HTML document with its own style sheet
// inside, no script and nothing from another site, laid out for a phone's
// width as well as a desktop's.
namespace HtmlPage {

// The pages of the navigation bar.
enum class Tab { None, Today, NotArrived, MissingDepartures, Month };

// `text` with &, <, >, " and ' written as entities: safe inside an element
// and inside a quoted attribute.
QString Escape(const QString& text);

struct Frame {
    QString title;          // plain text, escaped here
    Tab tab = Tab::None;    // marked in the navigation; None: no navigation (sign-in)
    int refreshSeconds = 0; // > 0: the page loads itself again after that time
    QString unitName;       // plain text
};

// The whole document around `body` (HTML made with Escape), its fixed texts
// and its lang attribute in `language`.
QString Document(const Frame& frame, const QString& body, const Translation& language);

// A page that only says `message` (plain text) under `title`, with a link
// back to the first page.
QString Message(const QString& title, const QString& message, const Translation& language);

} // namespace HtmlPage
