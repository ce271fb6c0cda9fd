#include "window/qt/frm_convert.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <algorithm>
#include <filesystem>

#include "window/qt/colour.h"
#include "window/qt/single_click_filter.h"
#include "window/qt/ui_text.h"

namespace tavrin {

frmConvert::frmConvert(DialogServices& dialogs, FileServices& files,
                       std::optional<std::vector<std::filesystem::path>> drives, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      dialogs_(dialogs),
      presenter_(*this, dialogs, files) {
  setObjectName(QStringLiteral("frmConvert"));
  presenter_.ShowCaption();
  setWindowIcon(WindowIcon());
  setFixedSize(kClientWidth, kClientHeight);
  controls_ = CreateWindowControls(LayoutTable(), *this, drives);
  // Drives given in place of the machine's stay the drives, also when they are read again.
  if (drives) presenter_.SetDriveReader([drives = *drives] { return drives; });
  StyleLabels();
  SetTabOrder();
  ConnectHandlers();
}

void frmConvert::StyleLabels() {
  for (const LabelSpec& row : LabelTable()) {
    auto* label = qobject_cast<QLabel*>(Control(QString::fromLatin1(row.name)));
    if (label == nullptr) throw LayoutError(std::string("Fehler im Fensteraufbau: kein Label ") + row.name);
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColourOf(row.colour, palette));
    label->setPalette(palette);
    if (row.font_family != nullptr) {
      QFont font(QString::fromLatin1(row.font_family), row.point_size, row.weight);
      font.setItalic(false);
      font.setUnderline(false);
      font.setStrikeOut(false);
      label->setFont(font);
    }
    label->setProperty("Tag", QString::fromUtf8(row.tag));
  }
}

void frmConvert::SetTabOrder() {
  // The controls that can take the focus, in the order of their tab indexes; the tab
  // control takes it on its tab strip, the toolbar on the one button that is its tab stop.
  std::vector<const ControlSpec*> ordered;
  for (const ControlSpec& row : LayoutTable()) ordered.push_back(&row);
  std::sort(ordered.begin(), ordered.end(),
            [](const ControlSpec* a, const ControlSpec* b) { return a->tab_index < b->tab_index; });
  std::vector<QWidget*> chain;
  for (const ControlSpec* row : ordered) {
    QWidget* control = Control(QString::fromLatin1(row->name));
    if (control == controls_.sstab1) {
      chain.push_back(controls_.sstab1->TabBar());
    } else if (control == controls_.toolbar1) {
      for (int index = 1; index <= controls_.toolbar1->ButtonCount(); ++index)
        chain.push_back(controls_.toolbar1->Button(index));
    } else if (control->focusPolicy() != Qt::NoFocus) {
      chain.push_back(control);
    }
  }
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void frmConvert::ConnectHandlers() {
  connect(controls_.drive1, &DriveList::Change, this, &frmConvert::Drive1_Change);
  connect(controls_.drive2, &DriveList::Change, this, &frmConvert::Drive2_Change);
  connect(controls_.drive1, &DriveList::Opening, this, [this] { presenter_.DriveListOpened(Side::kSource); });
  connect(controls_.drive2, &DriveList::Opening, this, [this] { presenter_.DriveListOpened(Side::kTarget); });
  connect(controls_.dir1, &FolderList::Change, this, &frmConvert::Dir1_Change);
  connect(controls_.dir2, &FolderList::Change, this, &frmConvert::Dir2_Change);
  connect(controls_.sstab1, &TabControl::Click, this, &frmConvert::SSTab1_Click);
  connect(controls_.toolbar1, &Toolbar::ButtonClick, this, &frmConvert::Toolbar1_ButtonClick);
  for (int index : {0, 1}) {
    connect(btnConvert(index), &QPushButton::clicked, this, [this, index] { btnConvert_Click(index); });
    connect(btnPath(index), &QPushButton::clicked, this, [this, index] { btnPath_Click(index); });
  }
  // A double click on a command is one command: one conversion, not a second one that the
  // first has made impossible.
  auto* single_click = new SingleClickFilter(this);
  for (int index = 1; index <= controls_.toolbar1->ButtonCount(); ++index)
    controls_.toolbar1->Button(index)->installEventFilter(single_click);
  for (int index : {0, 1}) {
    btnConvert(index)->installEventFilter(single_click);
    btnPath(index)->installEventFilter(single_click);
  }
}

void frmConvert::SetCaption(std::string_view text) { setWindowTitle(UiText(text)); }

std::filesystem::path frmConvert::Folder(Side side) const { return FolderListOf(side)->Path(); }

bool frmConvert::SetFolder(Side side, const std::filesystem::path& path) { return FolderListOf(side)->SetPath(path); }

bool frmConvert::RefreshFolder(Side side) { return FolderListOf(side)->Refresh(); }

std::filesystem::path frmConvert::Drive(Side side) const { return DriveListOf(side)->Drive(); }

void frmConvert::ShowDriveOf(Side side, const std::filesystem::path& folder) {
  DriveListOf(side)->ShowDriveOf(folder);
}

void frmConvert::ShowDrives(const std::vector<std::filesystem::path>& drives) {
  controls_.drive1->SetDrives(drives);
  controls_.drive2->SetDrives(drives);
}

void frmConvert::ShowAnswer(Side side, std::string_view text, std::uint32_t colour) {
  ElidedLabel* label = side == Side::kSource ? controls_.lbprj : controls_.lbcr;
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ColourOf(colour, palette));
  label->setPalette(palette);
  label->SetText(UiText(text));
}

void frmConvert::SetStatusText(std::string_view text) { controls_.statusbar1->SetSimpleText(UiText(text)); }

void frmConvert::SetInfoText(std::string_view text) {
  controls_.lbinfo->SetText(UiText(text));
  controls_.lbinfo->repaint();
}

int frmConvert::Page() const { return controls_.sstab1->Tab(); }

void frmConvert::SetPage(int page) { controls_.sstab1->SetTab(page); }

bool frmConvert::ConvertEnabled() const { return btnConvert(0)->isEnabled(); }

void frmConvert::SetConvertEnabled(bool enabled) { btnConvert(0)->setEnabled(enabled); }

void frmConvert::SetBusyPointer(bool busy) { dialogs_.SetMousePointer(busy ? kPointerBusy : kPointerNormal); }

void frmConvert::Close() { close(); }

void frmConvert::CenterOnScreen() {
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  // The frame is not known before the window is shown; centring the client area is close enough.
  move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()).topLeft());
}

void frmConvert::showEvent(QShowEvent* event) {
  if (!presenter_.loaded() && !event->spontaneous()) {
    Form_Load();
    // The first focus: the tab control, first in the tab order, with its focus shown, as
    // after a Tab (a style draws the focus frame only once the keyboard has moved it).
    setAttribute(Qt::WA_KeyboardFocusChange);
    controls_.sstab1->TabBar()->setFocus(Qt::TabFocusReason);
  }
  QWidget::showEvent(event);
}

void frmConvert::closeEvent(QCloseEvent* event) {
  // During a pass the presenter keeps the window open until the pass has ended.
  if (!presenter_.QueryClose()) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

}  // namespace tavrin
