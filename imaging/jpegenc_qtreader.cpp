// jpegenc's reader of the picture formats Qt reads (PNG, JPEG, GIF, ...):
// a module loaded only for them, so that encoding PPM, PGM and BMP files
// never loads Qt Gui.
#include "imaging/QtPictureRows.h"

extern "C" Q_DECL_EXPORT RowSource* attendance_jpegenc_open(const QString& name, Error* error) {
    return QtPictureRows::Open(name, error).release();
}
