#pragma once

#include "platform/Seam.h"

#include <QString>

// Opens files and web addresses with the desktop's default handler.
namespace DesktopServices {

// A path or an address with a scheme ("https://..."); the result is only a
// hint, callers do not report a failure.
bool OpenDocument(const QString& target);

// Tests: while a Seam::Override lives, its function answers instead.
using Seam = ::Seam<struct DesktopServicesTag, bool(const QString&)>;

} // namespace DesktopServices
