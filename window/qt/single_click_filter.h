#pragma once

#include <QObject>

namespace tavrin {

// Makes a double click on a button one click. The second press of a double click reaches a
// button as a double-click event, which a button takes for a press, so its release would click
// it a second time: a double click on "Konvertierung" would ask for a second conversion right
// after the first. Installed on a button (installEventFilter), this filter drops that second
// press; the release that follows then finds the button not pressed and clicks nothing.
class SingleClickFilter : public QObject {
  Q_OBJECT

 public:
  explicit SingleClickFilter(QObject* parent = nullptr) : QObject(parent) {}

  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tavrin
