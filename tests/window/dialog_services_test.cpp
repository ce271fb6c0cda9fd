// The Qt dialog services: German buttons whatever the system language, icons and answers by
// style, the input box, the event loop and the busy pointer. The boxes are built and
// inspected, never shown modally.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "window/qt/application_setup.h"
#include "window/qt/qt_dialog_services.h"

using tavrin::AnswerOf;
using tavrin::MakeInputBox;
using tavrin::MakeMessageBox;

namespace {

QStringList ButtonTexts(const QWidget& box) {
  QStringList texts;
  for (const QAbstractButton* button : box.findChildren<QAbstractButton*>()) texts << button->text();
  texts.sort();
  return texts;
}

}  // namespace

class DialogServicesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // Another system language must not change the buttons.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    tavrin::SetUpApplication();
  }

  void messageBoxButtonsIconsAndAnswers_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("default_button");
    QTest::newRow("refusal") << 48 << QStringList{"OK"} << int(QMessageBox::Warning) << "OK";
    QTest::newRow("about") << 64 << QStringList{"OK"} << int(QMessageBox::Information) << "OK";
    QTest::newRow("delete question") << 36 + 256 << QStringList{"Ja", "Nein"} << int(QMessageBox::Question)
                                     << "Nein";
    QTest::newRow("Yes first") << 36 << QStringList{"Ja", "Nein"} << int(QMessageBox::Question) << "Ja";
    QTest::newRow("plain") << 0 << QStringList{"OK"} << int(QMessageBox::NoIcon) << "OK";
    QTest::newRow("critical") << 16 << QStringList{"OK"} << int(QMessageBox::Critical) << "OK";
    QTest::newRow("OK and Cancel") << 1 << QStringList{"Abbrechen", "OK"} << int(QMessageBox::NoIcon) << "OK";
    QTest::newRow("Cancel second") << 1 + 256 << QStringList{"Abbrechen", "OK"} << int(QMessageBox::NoIcon)
                                   << "Abbrechen";
    QTest::newRow("Yes, No and Cancel") << 35 << QStringList{"Abbrechen", "Ja", "Nein"}
                                        << int(QMessageBox::Question) << "Ja";
    QTest::newRow("third of three") << 35 + 512 << QStringList{"Abbrechen", "Ja", "Nein"}
                                    << int(QMessageBox::Question) << "Abbrechen";
    QTest::newRow("third of two is the first") << 36 + 512 << QStringList{"Ja", "Nein"}
                                               << int(QMessageBox::Question) << "Ja";
    QTest::newRow("second of one is the first") << 48 + 256 << QStringList{"OK"} << int(QMessageBox::Warning)
                                                << "OK";
  }
  void messageBoxButtonsIconsAndAnswers() {
    QFETCH(int, style);
    QFETCH(QStringList, buttons);
    QFETCH(int, icon);
    QFETCH(QString, default_button);
    auto box = MakeMessageBox("Erste Zeile\r\nZweite Zeile", style, "Titel", nullptr);
    QCOMPARE(box->windowTitle(), QStringLiteral("Titel"));
    QCOMPARE(box->text(), QStringLiteral("Erste Zeile\nZweite Zeile"));
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(int(box->icon()), icon);
    QCOMPARE(ButtonTexts(*box), buttons);
    const std::pair<const char*, int> answers[] = {
        {"OK", tavrin::kAnswerOk}, {"Ja", tavrin::kAnswerYes}, {"Nein", tavrin::kAnswerNo},
        {"Abbrechen", tavrin::kAnswerCancel}};
    for (const auto& [text, answer] : answers) {
      for (QAbstractButton* button : box->buttons()) {
        if (button->text() == QLatin1String(text)) QCOMPARE(AnswerOf(*box, button), answer);
      }
    }
    QCOMPARE(AnswerOf(*box, nullptr), tavrin::kAnswerCancel);
    // The default button is the one Enter presses, and the scripted dialogs name the same one.
    QVERIFY(box->defaultButton() != nullptr);
    QCOMPARE(box->defaultButton()->text(), default_button);
    QCOMPARE(AnswerOf(*box, box->defaultButton()), tavrin::DefaultAnswer(style));
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QTest::keyClick(box.get(), Qt::Key_Return);
    QVERIFY(box->clickedButton() != nullptr);
    QCOMPARE(box->clickedButton()->text(), default_button);
  }

  void textsKeepTheirUmlautsAndMarkup() {
    auto box = MakeMessageBox("Zielpfad und Quellpfad dürfen nicht <b>identisch</b> sein!", 48,
                              "Konvertierungsfehler", nullptr);
    QCOMPARE(box->text(), QStringLiteral("Zielpfad und Quellpfad dürfen nicht <b>identisch</b> sein!"));
    QCOMPARE(box->textFormat(), Qt::PlainText);
  }

  void inputBoxHasGermanButtonsAndAnEmptyField() {
    auto box = MakeInputBox("Name des neuen Verzeichnisses:", "Neues Verzeichnis", nullptr);
    QCOMPARE(box->windowTitle(), QStringLiteral("Neues Verzeichnis"));
    QCOMPARE(box->labelText(), QStringLiteral("Name des neuen Verzeichnisses:"));
    QCOMPARE(box->inputMode(), QInputDialog::TextInput);
    QCOMPARE(box->textValue(), QString());
    QCOMPARE(box->okButtonText(), QStringLiteral("OK"));
    QCOMPARE(box->cancelButtonText(), QStringLiteral("Abbrechen"));
    box->ensurePolished();
    auto* buttons = box->findChild<QDialogButtonBox*>();
    QVERIFY(buttons != nullptr);
    QStringList texts;
    for (const QAbstractButton* button : buttons->buttons()) texts << button->text();
    texts.sort();
    QCOMPARE(texts, (QStringList{"Abbrechen", "OK"}));
  }

  void doEventsRunsWaitingEvents() {
    tavrin::QtDialogServices dialogs;
    int ran = 0;
    QTimer::singleShot(0, [&ran] { ++ran; });
    QMetaObject::invokeMethod(qApp, [&ran] { ++ran; }, Qt::QueuedConnection);
    QCOMPARE(ran, 0);
    dialogs.DoEvents();
    QTRY_COMPARE_WITH_TIMEOUT(ran, 2, 1000);
  }

  void busyPointerIsSetAndRestoredOnce() {
    QVERIFY(QApplication::overrideCursor() == nullptr);
    {
      tavrin::QtDialogServices dialogs;
      dialogs.SetMousePointer(tavrin::kPointerBusy);
      QVERIFY(QApplication::overrideCursor() != nullptr);
      QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
      dialogs.SetMousePointer(tavrin::kPointerBusy);  // a second busy adds nothing
      dialogs.SetMousePointer(tavrin::kPointerNormal);
      QVERIFY(QApplication::overrideCursor() == nullptr);
      dialogs.SetMousePointer(tavrin::kPointerNormal);  // nor does a second normal take anything
      QVERIFY(QApplication::overrideCursor() == nullptr);
      dialogs.SetMousePointer(tavrin::kPointerBusy);
      QVERIFY(dialogs.busy());
    }
    // Gone with the services that set it.
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }
};

QTEST_MAIN(DialogServicesTest)
#include "dialog_services_test.moc"
