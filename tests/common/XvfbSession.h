#pragma once

#include <QString>
#include <functional>

// Tests that need a real X server without a window manager (keyboard focus,
// repainting while the station waits). Started from main(): when the platform
// is not xcb, starts a private Xvfb (no TCP), runs this same program again as
// a child on it with QT_QPA_PLATFORM=xcb, returns the child's exit code and
// stops the server. Under xcb, or when Xvfb is not installed, `runTests`
// runs in this process (the tests then skip with SkipUnlessXcb).
int RunUnderXvfb(int argc, char** argv, const std::function<int(int, char**)>& runTests);

// Empty when the tests run under xcb; else why they cannot (for QSKIP).
QString XcbUnavailableReason();

// Sends keys through the X server as a keyboard would (XTest, to whichever
// window has the X input focus): a named key ("Return"), or a card as a
// scanner types it (2 ms apart, then the end key). False when xdotool fails.
// The event loop runs meanwhile.
bool XPressKey(const QString& keyName);
bool XScan(const QString& text, const QString& endKey = QStringLiteral("Return"));

#define SKIP_UNLESS_XCB()                                                                          \
    do {                                                                                           \
        const QString reason = XcbUnavailableReason();                                             \
        if (!reason.isEmpty())                                                                     \
            QSKIP(qPrintable(reason));                                                             \
    } while (false)
