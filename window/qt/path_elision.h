#pragma once

#include <QFontMetrics>
#include <QString>

namespace tavrin {

// `text` shortened in its middle so that it fits into `width` pixels of `metrics`; a text
// that fits stays as it is.
//
// A text that holds a path ("Bearbeite: /home/anna/Ziel/frmHaupt.frm [12]...",
// "/home/anna/Projekte/Kunden/") loses whole folder names from the middle of the path, which
// then stand as one "…": what comes before the path, the path's first folders and its last
// name with whatever follows it stay ("Bearbeite: /home/…/Ziel/frmHaupt.frm [12]..."). When
// even that is too wide, or there is no folder to drop, the text is cut in its middle.
QString ElidePathInMiddle(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace tavrin
