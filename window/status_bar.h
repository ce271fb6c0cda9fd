#pragma once

#include <QLabel>
#include <QWidget>

namespace tavrin {

// A status bar in simple style: one text field across the whole bar.
class StatusBar : public QWidget {
  Q_OBJECT

 public:
  explicit StatusBar(QWidget* parent = nullptr);

  QString SimpleText() const;
  void SetSimpleText(const QString& text);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* panel_;
};

}  // namespace tavrin
