#include "window/qt/qt_dialog_services.h"

#include <QApplication>
#include <QPushButton>

#include "window/qt/ui_text.h"

namespace tavrin {
namespace {

constexpr int kIconMask = 0x70;

QMessageBox::Icon IconOf(int style) {
  switch (style & kIconMask) {
    case kIconCritical: return QMessageBox::Critical;
    case kIconQuestion: return QMessageBox::Question;
    case kIconExclamation: return QMessageBox::Warning;
    case kIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButton ButtonOf(int answer) {
  switch (answer) {
    case kAnswerYes: return QMessageBox::Yes;
    case kAnswerNo: return QMessageBox::No;
    case kAnswerCancel: return QMessageBox::Cancel;
    default: return QMessageBox::Ok;
  }
}

QMessageBox::StandardButtons ButtonsOf(int style) {
  QMessageBox::StandardButtons buttons;
  for (int answer : ButtonAnswers(style)) buttons |= ButtonOf(answer);
  return buttons;
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(std::string_view text, int style, std::string_view title,
                                            QWidget* parent) {
  QString shown = UiText(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  auto box = std::make_unique<QMessageBox>(IconOf(style), UiText(title), shown, ButtonsOf(style), parent);
  box->setTextFormat(Qt::PlainText);
  const std::pair<QMessageBox::StandardButton, const char*> names[] = {
      {QMessageBox::Ok, "OK"}, {QMessageBox::Yes, "Ja"}, {QMessageBox::No, "Nein"}, {QMessageBox::Cancel, "Abbrechen"}};
  for (const auto& [which, name] : names) {
    if (QAbstractButton* button = box->button(which)) button->setText(QString::fromUtf8(name));
  }
  box->setDefaultButton(ButtonOf(DefaultAnswer(style)));
  return box;
}

int AnswerOf(const QMessageBox& box, QAbstractButton* clicked) {
  switch (box.standardButton(clicked)) {
    case QMessageBox::Ok: return kAnswerOk;
    case QMessageBox::Yes: return kAnswerYes;
    case QMessageBox::No: return kAnswerNo;
    default: return kAnswerCancel;
  }
}

std::unique_ptr<QInputDialog> MakeInputBox(std::string_view prompt, std::string_view title, QWidget* parent) {
  auto box = std::make_unique<QInputDialog>(parent);
  box->setInputMode(QInputDialog::TextInput);
  box->setWindowTitle(UiText(title));
  box->setLabelText(UiText(prompt));
  box->setTextValue(QString());
  box->setOkButtonText(QStringLiteral("OK"));
  box->setCancelButtonText(QStringLiteral("Abbrechen"));
  return box;
}

QtDialogServices::~QtDialogServices() { SetMousePointer(kPointerNormal); }

int QtDialogServices::MessageBox(std::string_view text, int style, std::string_view title) {
  auto box = MakeMessageBox(text, style, title, parent_);
  box->exec();
  return AnswerOf(*box, box->clickedButton());
}

std::string QtDialogServices::InputBox(std::string_view prompt, std::string_view title) {
  auto box = MakeInputBox(prompt, title, parent_);
  if (box->exec() != QDialog::Accepted) return {};
  return box->textValue().toStdString();
}

void QtDialogServices::DoEvents() { QCoreApplication::processEvents(); }

void QtDialogServices::SetMousePointer(int pointer) {
  const bool busy = pointer == kPointerBusy;
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

}  // namespace tavrin
