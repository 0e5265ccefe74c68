#pragma once

#include <QString>

// Why a new file could not be written, in the words the windows show. The
// writers' own messages are English, for the command line; the windows look
// at the file system after the failure and say what they find there.
namespace WriteFailure {

// "文件“/x.pdf”已存在。", a missing folder, a folder without the right to
// write, a full disk, else that the file could not be written.
QString Cause(const QString& path);

} // namespace WriteFailure
