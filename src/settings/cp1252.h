#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace lumitakt {

// Windows-1252, the 8-bit code page the settings file is kept in.
// Every byte decodes to one character (the five bytes the code page leaves
// free decode to the C1 controls of the same value, as Windows does), so
// any file reads without loss and writes back byte for byte.
QString fromCp1252(QByteArrayView bytes);

// Characters the code page cannot hold are written as "?".
QByteArray toCp1252(QStringView text);

} // namespace lumitakt
