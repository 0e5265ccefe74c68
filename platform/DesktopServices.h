#pragma once

#include <QString>
#include <functional>

// Opens files and web addresses with the desktop's default handler.
namespace DesktopServices {

// A path or an address with a scheme ("https://..."); the result is only a
// hint, callers do not report a failure.
bool OpenDocument(const QString& target);

// Tests: every request goes to the handler instead of the desktop.
using Handler = std::function<bool(const QString&)>;
void SetHandler(Handler handler);
void ClearHandler();

} // namespace DesktopServices
