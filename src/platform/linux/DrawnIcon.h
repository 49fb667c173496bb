#pragma once

#include <QIcon>
#include <QString>

namespace skylane {

// An icon drawn from an SVG file. The file is read and parsed once, when the
// icon is made, and drawn then at the sizes a row shows (16 pixels and their
// double, and the screens' own scale); another size asked for later reads
// the file again. Qt's own SVG icon engine would parse it once to check it
// and again for every size. Null when the file is not a drawing Qt can read.
QIcon drawnIcon(const QString &file);

} // namespace skylane
