#pragma once

#include <QFontMetrics>
#include <QString>

namespace tavrin {

// `text` shortened so that it fits into `width` pixels of `metrics` by the window's one rule
// (ElidePath, path_display.h): whole folders from the middle of a path give way first
// ("Bearbeite: /home/…/Ziel/frmHaupt.frm [12]..."); a text that fits stays as it is.
QString ElidePathInMiddle(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace tavrin
