// The window as the layout gives it: every control's place, size, caption, font, colour,
// page and place in the tab order; captions that fit; the toolbar's images; the window's
// frame and identity; pictures of the three pages.
#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStyleOption>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QStyleOptionTab>
#include <QTest>
#include <QToolButton>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "runtime/file_services.h"
#include "tavrin_version.h"
#include "tests/window/scratch_tree.h"
#include "tests/window/scripted_dialogs.h"
#include "window/qt/application_setup.h"
#include "window/qt/colour.h"
#include "window/qt/frm_convert.h"
#include "window/qt/image_list.h"
#include "window/qt/window_controls.h"

using tavrin::frmConvert;
using tavrin::testing::ScriptedDialogs;

namespace {

// The layout in twips, as designed; 15 twips make one pixel.
struct Expected {
  const char* name;
  const char* container;  // object name of the parent widget
  int page;               // -1: not on a page
  int left, top, width, height;
  const char* caption;
};

constexpr std::array<Expected, 19> kExpected{{
    {"Toolbar1", "frmConvert", -1, 0, 0, 5805, 570, nullptr},
    {"SSTab1", "frmConvert", -1, 60, 660, 5715, 3735, nullptr},
    {"StatusBar1", "frmConvert", -1, 0, 4410, 5805, 375, nullptr},
    {"Frame1", "SSTab1", 0, 120, 600, 5475, 2955, "&Programmwahl:"},
    {"Dir1", "Frame1", 0, 120, 720, 2535, 2115, nullptr},
    {"Drive1", "Frame1", 0, 120, 300, 2535, 315, nullptr},
    {"Frame4", "Frame1", 0, 2820, 180, 2535, 795, "Projekt vorhanden:"},
    {"lbPrj", "Frame4", 0, 120, 300, 2235, 255, "Nein"},
    {"Frame3", "SSTab1", 1, 120, 600, 3555, 2955, "&Zielverzeichnis:"},
    {"Dir2", "Frame3", 1, 120, 720, 3315, 2115, nullptr},
    {"Drive2", "Frame3", 1, 120, 300, 3315, 315, nullptr},
    {"btnPath(0)", "SSTab1", 1, 3840, 660, 1575, 375, "&Neu..."},
    {"btnPath(1)", "SSTab1", 1, 3840, 1140, 1575, 375, "&Löschen..."},
    {"Frame5", "SSTab1", 1, 3840, 1740, 1755, 855, "Projekt anlegbar:"},
    {"lbCr", "Frame5", 1, 120, 360, 1515, 255, "Nein"},
    {"btnConvert(0)", "SSTab1", 2, 120, 420, 1455, 435, "&Konvertieren"},
    {"btnConvert(1)", "SSTab1", 2, 1680, 420, 1455, 435, "&Über..."},
    {"Frame2", "SSTab1", 2, 180, 1200, 5355, 855, "Bearbeitungsmodus:"},
    {"lbInfo", "Frame2", 2, 120, 360, 5115, 255, "keine Bearbeitung aktiv..."},
}};

QRect Pixels(const Expected& row) {
  return {row.left / 15, row.top / 15, row.width / 15, row.height / 15};
}

QString CaptionOf(QWidget* control) {
  if (auto* frame = qobject_cast<QGroupBox*>(control)) return frame->title();
  if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  return {};
}

QString WithoutAccessKey(QString caption) { return caption.remove(QLatin1Char('&')); }

// The widgets that Tab can visit, in the order of the focus chain, by object name.
QStringList TabChain(QWidget& window) {
  QStringList names;
  for (QWidget* widget = window.nextInFocusChain(); widget != &window; widget = widget->nextInFocusChain()) {
    if ((widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget->focusProxy() == nullptr)
      names << widget->objectName();
  }
  // The chain is a ring; read it from the tab control on.
  const qsizetype start = names.indexOf(QStringLiteral("TabStrip"));
  if (start > 0) names = names.mid(start) + names.mid(0, start);
  return names;
}

// Where `image` stands in `grab`, judged by its opaque pixels, which are drawn unchanged;
// nullopt when nowhere.
std::optional<QPoint> FindOpaque(const QImage& grab, const QImage& image) {
  const QImage g = grab.convertToFormat(QImage::Format_ARGB32);
  const QImage img = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y + img.height() <= g.height(); ++y) {
    for (int x = 0; x + img.width() <= g.width(); ++x) {
      bool same = true;
      int opaque = 0;
      for (int iy = 0; same && iy < img.height(); ++iy) {
        for (int ix = 0; ix < img.width(); ++ix) {
          const QRgb pixel = img.pixel(ix, iy);
          if (qAlpha(pixel) != 255) continue;
          ++opaque;
          if (g.pixel(x + ix, y + iy) != pixel) {
            same = false;
            break;
          }
        }
      }
      if (same && opaque > 0) return QPoint(x, y);
    }
  }
  return std::nullopt;
}

struct Window {
  ScriptedDialogs dialogs;
  frmConvert window{dialogs, tavrin::DiskFileServices()};
};

}  // namespace

class WindowLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { tavrin::SetUpApplication(); }

  void everyControlHasItsNameContainerPlaceAndCaption() {
    Window w;
    int rows = 0;
    for (const Expected& row : kExpected) {
      QWidget* control = w.window.findChild<QWidget*>(QString::fromLatin1(row.name));
      QVERIFY2(control != nullptr, row.name);
      QCOMPARE(control->parentWidget()->objectName(), QString::fromLatin1(row.container));
      QCOMPARE(control->geometry(), Pixels(row));
      if (row.caption != nullptr) QCOMPARE(CaptionOf(control), QString::fromUtf8(row.caption));
      ++rows;
    }
    QCOMPARE(rows, 19);
    // The tab control, the toolbar and the status bar span the client area as designed.
    QCOMPARE(w.window.size(), QSize(387, 319));
    QCOMPARE(w.window.SSTab1()->TabBar()->geometry(), QRect(0, 0, 381, 20));
    // Two image lists, never shown.
    for (const char* name : {"ImgList", "ImgHotList"}) {
      auto* list = w.window.findChild<tavrin::ImageList*>(QString::fromLatin1(name));
      QVERIFY(list != nullptr);
      QCOMPARE(list->Count(), 5);
      for (int index = 1; index <= 5; ++index) QVERIFY(!list->Image(index).isNull());
    }
  }

  // A layout that does not describe the window stops its making with a message that names
  // the row, instead of giving the window a control it does not expect.
  void layoutFaultsStopTheWindowBeingMade_data() {
    using tavrin::ControlKind;
    using Change = std::function<void(std::vector<tavrin::ControlSpec>&)>;
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("named");
    auto row = [](std::vector<tavrin::ControlSpec>& rows, const char* name) -> tavrin::ControlSpec& {
      for (tavrin::ControlSpec& control : rows)
        if (std::string_view(control.name) == name) return control;
      qFatal("no row %s", name);
    };
    auto extra = [](const char* name, ControlKind kind, const char* container) {
      return Change([=](std::vector<tavrin::ControlSpec>& rows) {
        rows.push_back({name, kind, container, 2, 0, 0, 10, 10, 19, ""});
      });
    };
    QTest::newRow("index beyond the array") << extra("btnConvert(2)", ControlKind::kPushButton, "SSTab1")
                                            << "btnConvert(2)";
    QTest::newRow("index of two digits") << extra("btnConvert(12)", ControlKind::kPushButton, "SSTab1")
                                         << "btnConvert(12)";
    QTest::newRow("unknown label") << extra("lbInfo2", ControlKind::kLabel, "Frame2") << "lbInfo2";
    QTest::newRow("unknown folder list") << extra("Dir3", ControlKind::kFolderList, "SSTab1") << "Dir3";
    QTest::newRow("frame with an index") << extra("Frame6(0)", ControlKind::kFrame, "SSTab1") << "Frame6(0)";
    QTest::newRow("name given twice") << extra("Dir1", ControlKind::kFolderList, "Frame1") << "Dir1";
    QTest::newRow("unknown container") << extra("Frame6", ControlKind::kFrame, "Frame9") << "Frame9";
    QTest::newRow("index without its bracket")
        << Change([row](auto& rows) { row(rows, "btnConvert(1)").name = "btnConvert(1"; }) << "btnConvert(1)";
    QTest::newRow("kind that does not fit the name")
        << Change([row](auto& rows) { row(rows, "lbInfo").kind = ControlKind::kPushButton; }) << "lbInfo";
    QTest::newRow("control missing") << Change([](auto& rows) {
      std::erase_if(rows, [](const auto& control) { return control.name == std::string_view("Drive2"); });
    }) << "Drive2";
  }

  void layoutFaultsStopTheWindowBeingMade() {
    using Change = std::function<void(std::vector<tavrin::ControlSpec>&)>;
    QFETCH(Change, change);
    QFETCH(QString, named);
    std::vector<tavrin::ControlSpec> rows(tavrin::LayoutTable().begin(), tavrin::LayoutTable().end());
    change(rows);
    QWidget window;
    try {
      tavrin::CreateWindowControls(rows, window, std::vector<std::filesystem::path>{"/"});
      QFAIL("the window was made");
    } catch (const tavrin::LayoutError& error) {
      QVERIFY2(QString::fromUtf8(error.what()).contains(named), error.what());
    }
  }

  void noTwoControlsOfOneContainerAndPageOverlap() {
    for (const Expected& a : kExpected) {
      for (const Expected& b : kExpected) {
        if (&a == &b || std::string_view(a.container) != b.container || a.page != b.page) continue;
        QVERIFY2(!Pixels(a).intersects(Pixels(b)), (std::string(a.name) + " / " + b.name).c_str());
      }
    }
  }

  void colourValuesAreBlueGreenRedOrSystemColours() {
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    palette.setColor(QPalette::ButtonText, QColor(4, 5, 6));
    const std::pair<std::uint32_t, QColor> rows[] = {
        {0x000000C0, QColor(192, 0, 0)},  {0x00800080, QColor(128, 0, 128)}, {0x00FF0000, QColor(0, 0, 255)},
        {0x0000FF00, QColor(0, 255, 0)},  {0x00123456, QColor(0x56, 0x34, 0x12)},
        {0x8000000D, QColor(1, 2, 3)},    {0x80000012, QColor(4, 5, 6)}};
    for (const auto& [value, colour] : rows) QCOMPARE(tavrin::ColourOf(value, palette), colour);
  }

  void pagesTabsAndInitialState() {
    Window w;
    tavrin::TabControl* tabs = w.window.SSTab1();
    QCOMPARE(tabs->TabBar()->count(), 3);
    QCOMPARE(tabs->TabBar()->tabText(0), QStringLiteral("&Ausgangsprojekt"));
    QCOMPARE(tabs->TabBar()->tabText(1), QStringLiteral("&Zielprojekt"));
    QCOMPARE(tabs->TabBar()->tabText(2), QStringLiteral("&Projektkonvertierung"));
    QCOMPARE(tabs->TabBar()->shape(), QTabBar::RoundedNorth);
    for (int page = 0; page < 3; ++page) {
      QVERIFY(tabs->TabBar()->tabIcon(page).isNull());
      // All three tabs in one row, sharing the strip.
      QCOMPARE(tabs->TabBar()->tabRect(page).top(), 0);
      QCOMPARE(tabs->TabBar()->tabRect(page).height(), 20);
      QCOMPARE(tabs->TabBar()->tabRect(page).width(), 127);
    }
    // As created: page 2 in front, labels "Nein" in red, lbInfo purple, empty status bar,
    // all four buttons enabled and none the default button.
    QVERIFY(!w.window.loaded());
    QCOMPARE(tabs->Tab(), 2);
    QCOMPARE(w.window.StatusBar1()->SimpleText(), QString());
    for (int index : {0, 1}) {
      for (QPushButton* button : {w.window.btnConvert(index), w.window.btnPath(index)}) {
        QVERIFY(button->isEnabled());
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
      }
    }
  }

  void labelsHaveTheirColourFontAlignmentAndTag() {
    Window w;
    const QColor red(192, 0, 0);
    const QColor purple(128, 0, 128);
    struct Row {
      QLabel* label;
      QColor colour;
      bool own_font;
      const char* tag;
    };
    const Row rows[] = {{w.window.lbInfo(), purple, false, "keine Bearbeitung aktiv..."},
                        {w.window.lbPrj(), red, true, ""},
                        {w.window.lbCr(), red, true, ""}};
    for (const Row& row : rows) {
      QCOMPARE(row.label->palette().color(QPalette::WindowText), row.colour);
      QCOMPARE(row.label->alignment(), Qt::AlignCenter);
      QCOMPARE(row.label->property("Tag").toString(), QString::fromUtf8(row.tag));
      const QFont font = row.label->font();
      if (row.own_font) {
        QCOMPARE(font.family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(font.pointSize(), 12);
        QCOMPARE(font.weight(), QFont::Bold);
        QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
        // Drawn with a face that exists here.
        QVERIFY(QFontInfo(font).exactMatch() || QFontInfo(font).family() == QStringLiteral("DejaVu Sans"));
      } else {
        QCOMPARE(font, QApplication::font());
      }
    }
    // Frames and buttons keep the default font.
    for (const char* name : {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "btnConvert(0)", "btnPath(1)"})
      QCOMPARE(w.window.Control(QString::fromLatin1(name))->font(), QApplication::font());
  }

  void onlyThePageInFrontIsVisible() {
    Window w;
    for (int page : {2, 0, 1, 2}) {
      w.window.SSTab1()->SetTab(page);
      for (const Expected& row : kExpected) {
        QWidget* control = w.window.Control(QString::fromLatin1(row.name));
        const bool expected = row.page == -1 || row.page == page;
        QVERIFY2(control->isVisibleTo(&w.window) == expected,
                 qPrintable(QStringLiteral("%1 on page %2").arg(QLatin1String(row.name)).arg(page)));
      }
    }
  }

  void tabOrderFollowsTheTabIndexes() {
    Window w;
    const QStringList expected{"TabStrip",           "Dir1",        "Drive1",       "Dir2",
                               "Drive2",             "btnConvert(0)", "btnPath(0)",  "btnPath(1)",
                               "btnConvert(1)",      "Toolbar1.Button(1)"};
    QCOMPARE(TabChain(w.window), expected);
    // Labels, frames and the status bar take no focus.
    for (const char* name : {"lbPrj", "lbCr", "lbInfo", "Frame1", "Frame4", "StatusBar1"})
      QCOMPARE(w.window.Control(QString::fromLatin1(name))->focusPolicy() & Qt::TabFocus, 0);
  }

  // The first focus is the tab strip, drawn as focused; Tab runs through the page in front and
  // the toolbar as one stop, last; the arrow keys move the toolbar's stop along its buttons.
  void focusStartsOnTheTabStripAndTheToolbarIsOneStop() {
    ScratchTreeGuard guard;
    Window w;
    w.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QWidget* strip = w.window.SSTab1()->TabBar();
    QCOMPARE(QApplication::focusWidget(), strip);
    QStyleOption option;
    option.initFrom(strip);
    QVERIFY(option.state & QStyle::State_HasFocus);
    QVERIFY(option.state & QStyle::State_KeyboardFocusChange);  // the focus frame is drawn

    w.window.SSTab1()->SetTab(2);
    const auto tabs = [&] {
      QStringList visited;
      for (int press = 0; press < 5; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
      }
      return visited;
    };
    // Both lists on one folder: btnConvert(0) is disabled and takes no focus.
    QVERIFY(!w.window.btnConvert(0)->isEnabled());
    QCOMPARE(QApplication::focusWidget(), strip);
    QCOMPARE(tabs(), (QStringList{"btnConvert(1)", "Toolbar1.Button(1)", "TabStrip", "btnConvert(1)",
                                  "Toolbar1.Button(1)"}));
    w.window.Toolbar1()->Button(1)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget(), w.window.Toolbar1()->Button(2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(QApplication::focusWidget(), w.window.Toolbar1()->Button(5));  // round the row
    QCOMPARE(TabChain(w.window), (QStringList{"TabStrip", "Dir1", "Drive1", "Dir2", "Drive2", "btnConvert(0)",
                                              "btnPath(0)", "btnPath(1)", "btnConvert(1)", "Toolbar1.Button(5)"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), strip);
    QVERIFY(w.dialogs.shown().empty());
  }

  void tabKeyMovesFromEachFolderListToItsDriveList() {
    ScratchTreeGuard guard;
    Window w;
    w.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QCOMPARE(w.window.SSTab1()->Tab(), 0);  // loaded on first show
    w.window.Dir1()->setFocus();
    QTest::keyClick(w.window.Dir1(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.window.Drive1());
    QTest::keyClick(w.window.Drive1(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w.window.Dir1());

    // The focus in a page that goes to the back moves to the tab strip.
    w.window.SSTab1()->SetTab(1);
    QCOMPARE(QApplication::focusWidget(), w.window.SSTab1()->TabBar());
    w.window.Dir2()->setFocus();
    QTest::keyClick(w.window.Dir2(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.window.Drive2());
    QTest::keyClick(w.window.Drive2(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.window.btnPath(0));
  }

  void accessKeysOfPagesAndFrames() {
    ScratchTreeGuard guard;
    Window w;
    w.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.window.SSTab1()->SetTab(1);
    QTest::keyClick(&w.window, Qt::Key_A, Qt::AltModifier);
    QCOMPARE(w.window.SSTab1()->Tab(), 0);
    // The status bar shows the source folder, as the page handler ran.
    QCOMPARE(w.window.StatusBar1()->SimpleText(), QString::fromStdString(w.window.QuellPfad().string()));
    // On page 1, Alt+N clicks "&Neu...".
    w.window.SSTab1()->SetTab(1);
    int clicks = 0;
    connect(w.window.btnPath(0), &QPushButton::clicked, this, [&clicks] { ++clicks; });
    w.dialogs.AnswerNextInputBox("");  // the new folder's name: Cancel
    QTest::keyClick(&w.window, Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(clicks, 1);  // a button clicks a moment after its access key
    QVERIFY(w.dialogs.script_used_up());
  }

  void everyCaptionFitsItsControl() {
    ScratchTreeGuard guard;
    Window w;
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QStyle* style = w.window.style();
    auto text_width = [](const QWidget* control, const QString& text) {
      return QFontMetrics(control->font()).horizontalAdvance(WithoutAccessKey(text));
    };
    // Push buttons: inside the contents rectangle the style leaves for the label.
    for (int index : {0, 1}) {
      for (QPushButton* button : {w.window.btnConvert(index), w.window.btnPath(index)}) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        QVERIFY2(text_width(button, button->text()) <= contents.width(), qPrintable(button->objectName()));
      }
    }
    // Frames: the caption line ends inside the frame.
    for (QGroupBox* frame : w.window.findChildren<QGroupBox*>()) {
      QStyleOptionGroupBox option;
      option.initFrom(frame);
      option.text = frame->title();
      option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
      const QRect label = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
      QVERIFY2(label.left() >= 0 && label.right() < frame->width(), qPrintable(frame->objectName()));
      QVERIFY2(text_width(frame, frame->title()) <= label.width(), qPrintable(frame->objectName()));
    }
    // Labels: every text they can show, in width and in the height of its glyphs.
    const std::pair<QLabel*, QStringList> labels[] = {
        {w.window.lbPrj(), {"Ja", "Nein"}},
        {w.window.lbCr(), {"Ja", "Nein"}},
        {w.window.lbInfo(),
         {"keine Bearbeitung aktiv...", "Bearbeite: keine Bearbeitung aktiv......",
          "Bearbeite: Konvertierung abgeschlossen......"}}};
    for (const auto& [label, texts] : labels) {
      for (const QString& text : texts) {
        QVERIFY2(text_width(label, text) <= label->width(), qPrintable(text));
        QVERIFY2(QFontMetrics(label->font()).tightBoundingRect(text).height() <= label->height(), qPrintable(text));
      }
    }
    // Tabs: the caption and the style's padding inside the tab.
    QTabBar* bar = w.window.SSTab1()->TabBar();
    for (int page = 0; page < bar->count(); ++page) {
      QStyleOptionTab option;
      option.initFrom(bar);
      option.rect = bar->tabRect(page);
      option.text = bar->tabText(page);
      option.shape = bar->shape();
      const QRect text = style->subElementRect(QStyle::SE_TabBarTabText, &option, bar);
      QVERIFY2(text_width(bar, bar->tabText(page)) <= text.width(), qPrintable(bar->tabText(page)));
    }
    // Toolbar buttons: inside the button's frame.
    for (int index = 1; index <= 5; ++index) {
      QToolButton* button = w.window.Toolbar1()->Button(index);
      const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
      QVERIFY2(text_width(button, button->text()) <= button->width() - 2 * frame, qPrintable(button->text()));
    }
    // Status bar: the fixed texts of the conversion page and of a close during a pass.
    QLabel* panel = w.window.StatusBar1()->findChild<QLabel*>();
    QVERIFY(panel != nullptr);
    for (std::string_view text :
         {tavrin::kChooseOtherFolders, tavrin::kConversionPossible, tavrin::kClosingAfterPass}) {
      const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
      QVERIFY2(text_width(panel, shown) + panel->indent() <= panel->contentsRect().width(), qPrintable(shown));
    }
  }

  // A frame's caption stands on its top line, which gives way behind it, and touches nothing
  // else: not the lines or captions of the frames around it, nor any control.
  void frameCaptionsStandOnTheirLineAndOverlapNothing() {
    ScratchTreeGuard guard;
    Window w;
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QStyle* style = w.window.style();
    // The caption and the frame rectangle of `frame`, in window coordinates.
    auto parts = [style, &w](QGroupBox* frame) {
      QStyleOptionGroupBox option;
      option.initFrom(frame);
      option.text = frame->title();
      option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
      const QPoint at = frame->mapTo(&w.window, QPoint(0, 0));
      const auto rect = [&](QStyle::SubControl part) {
        return style->subControlRect(QStyle::CC_GroupBox, &option, part, frame);
      };
      const QRect caption = rect(QStyle::SC_GroupBoxLabel);
      const QRect box = rect(QStyle::SC_GroupBoxFrame);
      return std::pair(caption.translated(at), box.translated(at));
    };
    for (int page = 0; page < 3; ++page) {
      w.window.SSTab1()->SetTab(page);
      const QImage shown = w.window.grab().toImage();
      const QList<QGroupBox*> frames = w.window.findChildren<QGroupBox*>();
      int on_page = 0;
      for (QGroupBox* frame : frames) {
        if (!frame->isVisible()) continue;
        ++on_page;
        const QByteArray name = frame->objectName().toLatin1();
        const auto [caption, box] = parts(frame);
        // On the line: the line runs through the caption, and is drawn left and right of it
        // but not in the caption's margin before its text.
        QVERIFY2(caption.top() < box.top() && box.top() < caption.bottom(), name);
        const QRgb background = shown.pixel(caption.left() + 1, box.top());
        QVERIFY2(shown.pixel(box.left() + 2, box.top()) != background, name);
        QVERIFY2(shown.pixel(caption.right() + 3, box.top()) != background, name);
        QCOMPARE(shown.pixel(caption.left() + 1, box.top() + 4), background);
        for (QGroupBox* other : frames) {
          if (other == frame || !other->isVisible()) continue;
          const auto [other_caption, other_box] = parts(other);
          QVERIFY2(!caption.intersects(other_caption), name);
          // The four lines of the other frame.
          const QRect lines[] = {{other_box.left(), other_box.top(), other_box.width(), 2},
                                 {other_box.left(), other_box.bottom() - 1, other_box.width(), 2},
                                 {other_box.left(), other_box.top(), 2, other_box.height()},
                                 {other_box.right() - 1, other_box.top(), 2, other_box.height()}};
          for (const QRect& line : lines)
            QVERIFY2(!caption.intersects(line), name + " / " + other->objectName().toLatin1());
        }
        // The controls inside the frame and beside it.
        for (QWidget* control : w.window.findChildren<QWidget*>()) {
          const QWidget* parent = control->parentWidget();
          const bool near = parent == frame || parent == frame->parentWidget();
          if (!near || control == frame || !control->isVisible()) continue;
          const QRect place(control->mapTo(&w.window, QPoint(0, 0)), control->size());
          QVERIFY2(!caption.intersects(place), name + " / " + control->objectName().toLatin1());
        }
      }
      QVERIFY(on_page > 0);
    }
  }

  void toolbarButtons() {
    Window w;
    tavrin::Toolbar* toolbar = w.window.Toolbar1();
    const char* captions[] = {"Projekt", "Zielverzeichnis", "Konvertierung", "Informationen", "Über..."};
    QCOMPARE(toolbar->ButtonCount(), 5);
    QCOMPARE(toolbar->findChildren<QToolButton*>().size(), 5);  // no separators or extra buttons
    QList<int> clicked;
    connect(toolbar, &tavrin::Toolbar::ButtonClick, this, [&clicked](int index) { clicked << index; });
    // Buttons 4 and 5 show the summary and the about message.
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    for (int index = 1; index <= 5; ++index) {
      QToolButton* button = toolbar->Button(index);
      QCOMPARE(button->objectName(), QStringLiteral("Toolbar1.Button(%1)").arg(index));
      QCOMPARE(button->text(), QString::fromUtf8(captions[index - 1]));
      QCOMPARE(button->size(), QSize(77, 36));
      QCOMPARE(button->x(), (index - 1) * 77);
      QVERIFY(button->y() >= 0 && button->geometry().bottom() < 38);
      QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
      QCOMPARE(button->iconSize(), QSize(16, 16));
      QVERIFY(button->toolTip().isEmpty());
      QVERIFY(!button->isCheckable());
      QVERIFY(button->menu() == nullptr);
      // Normal image from ImgList, Active (pointer over it) from ImgHotList.
      const QImage normal = w.window.ImgList().Image(index).pixmap(16, 16).toImage();
      const QImage hot = w.window.ImgHotList().Image(index).pixmap(16, 16).toImage();
      QCOMPARE(button->icon().pixmap(16, 16, QIcon::Normal).toImage(), normal);
      QCOMPARE(button->icon().pixmap(16, 16, QIcon::Active).toImage(), hot);
      QVERIFY(normal != hot || index == 1);
      QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(clicked, (QList<int>{1, 2, 3, 4, 5}));
    QVERIFY(w.dialogs.script_used_up());
  }

  void hoveredButtonShowsItsHotImage() {
    ScratchTreeGuard guard;
    Window w;
    QCursor::setPos(w.window.screen()->geometry().bottomRight());  // not over the window when it appears
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    for (int index = 2; index <= 5; ++index) {  // images 1 of both lists show the same folder
      QToolButton* button = w.window.Toolbar1()->Button(index);
      const QImage normal = w.window.ImgList().Image(index).pixmap(16, 16).toImage();
      const QImage hot = w.window.ImgHotList().Image(index).pixmap(16, 16).toImage();
      QTest::mouseMove(&w.window, QPoint(200, 200));  // away from the toolbar
      QTRY_VERIFY(!button->underMouse());
      const QImage before = button->grab().toImage();
      const std::optional<QPoint> at = FindOpaque(before, normal);
      QVERIFY2(at.has_value(), "normal image drawn");
      QVERIFY(!FindOpaque(before, hot).has_value());
      QTest::mouseMove(button, button->rect().center());
      QTRY_VERIFY(button->underMouse());
      const QImage after = button->grab().toImage();
      QCOMPARE(FindOpaque(after, hot), at);
      // The other buttons keep their normal images.
      for (int other = 1; other <= 5; ++other) {
        if (other == index) continue;
        const QImage image = w.window.ImgList().Image(other).pixmap(16, 16).toImage();
        QVERIFY(FindOpaque(w.window.Toolbar1()->Button(other)->grab().toImage(), image).has_value());
      }
    }
  }

  void windowFrameTitleIconAndPlace() {
    Window w;
    const Qt::WindowFlags flags = w.window.windowFlags();
    QVERIFY(flags.testFlag(Qt::Window));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(w.window.minimumSize(), QSize(387, 319));
    QCOMPARE(w.window.maximumSize(), QSize(387, 319));
    QCOMPARE(w.window.windowTitle(), QStringLiteral("CommonControls - Projektkonvertierung"));
    const QList<QSize> sizes = w.window.windowIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)));
    QVERIFY(sizes.contains(QSize(32, 32)));
    QCOMPARE(QApplication::windowIcon().availableSizes(), sizes);
    // The 16 x 16 image is a drawing of its own, not the 32 x 32 one scaled down.
    QVERIFY(w.window.windowIcon().pixmap(16, 16).toImage() !=
            w.window.windowIcon().pixmap(32, 32).toImage().scaled(16, 16, Qt::IgnoreAspectRatio,
                                                                  Qt::SmoothTransformation));
    w.window.CenterOnScreen();
    const QRect screen = w.window.screen()->availableGeometry();
    QVERIFY(qAbs(w.window.geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(w.window.geometry().center().y() - screen.center().y()) <= 1);
    QVERIFY(w.window.findChildren<QMenuBar*>().isEmpty());
  }

  void programIdentity() {
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Tavrin"));
    QCOMPARE(QApplication::applicationVersion(), QStringLiteral("1.00.0006"));
    QFile desktop(QStringLiteral(TAVRIN_SOURCE_DIR "/window/tavrin.desktop"));
    QVERIFY(desktop.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(desktop.readAll());
    QVERIFY(text.contains(
        QStringLiteral("\nComment=Austausch der VB5-Common Controls gegen die erweiterten VB6-Common Controls\n")));
    QVERIFY(text.contains(QStringLiteral("\nExec=Tavrin\n")));
    QVERIFY(text.contains(QStringLiteral("\nIcon=tavrin\n")));
  }

  void withoutADisplayTheProgramNamesTheCommandLineTool() {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
      environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TAVRIN_EXECUTABLE), {});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QString error = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(error.contains(QStringLiteral("Keine grafische Anzeige")), qPrintable(error));
    // Named where it is: beside the program.
    const QString tool = QFileInfo(QStringLiteral(TAVRIN_EXECUTABLE)).absolutePath() + QStringLiteral("/tavrin-convert");
    QVERIFY2(error.contains(QStringLiteral("\n    %1 QUELLE ZIEL\n").arg(tool)), qPrintable(error));
  }

  void renderTheThreePages() {
    ScratchTreeGuard guard;
    Window w;
    QCursor::setPos(w.window.screen()->geometry().bottomRight());
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    for (int page = 0; page < 3; ++page) {
      w.window.SSTab1()->SetTab(page);
      const QImage image = w.window.grab().toImage();
      QCOMPARE(image.size(), QSize(387, 319) * w.window.devicePixelRatio());
      const QString file = QStringLiteral(TAVRIN_RENDER_DIR "/page%1.png").arg(page);
      QVERIFY2(image.save(file), qPrintable(file));
    }
  }

 private:
  // Runs a test in a small folder tree, so that the folder lists show the same everywhere.
  struct ScratchTreeGuard {
    tavrin::testing::ScratchTree tree;
    std::filesystem::path project = tree.Folder("Projekte/Alt");
    std::filesystem::path file = tree.File("Projekte/Alt/Projekt1.vbp");
    std::filesystem::path other = tree.Folder("Projekte/Neu");
    tavrin::testing::CurrentFolder current{tree.root() / "Projekte/Alt"};
  };
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
