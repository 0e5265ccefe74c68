#pragma once

class ReportPreview;

// Gives a report preview the programs' dialogs: the find prompt (keeping the
// last text searched), the PDF file choice, the causes of a failed write in
// Chinese and the message boxes, all through the desktop kit's seams, so
// both programs' previews behave alike and tests answer them.
void WirePreview(ReportPreview& preview);
