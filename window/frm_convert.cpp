#include "window/frm_convert.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <algorithm>
#include <filesystem>

#include "conversion/folder_path.h"
#include "conversion/folder_tests.h"
#include "window/colour.h"
#include "window/command_texts.h"
#include "window/folder_commands.h"
#include "window/lists/path_text.h"
#include "window/message_box_style.h"
#include "window/single_click_filter.h"
#include "window/ui_text.h"

namespace tavrin {

std::string DriveUnreadableMessage(const std::filesystem::path& drive) {
  return "Das Laufwerk [" + ShownPath(drive) + "] kann nicht gelesen werden.";
}

frmConvert::frmConvert(DialogServices& dialogs, FileServices& files,
                       std::optional<std::vector<std::filesystem::path>> drives, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      dialogs_(dialogs),
      files_(files),
      conversion_host_(*this),
      request_(conversion_host_, files_) {
  setObjectName(QStringLiteral("frmConvert"));
  setWindowTitle(UiText(kWindowCaption));
  setWindowIcon(WindowIcon());
  setFixedSize(kClientWidth, kClientHeight);
  controls_ = CreateWindowControls(LayoutTable(), *this, drives);
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
  // control takes it on its tab strip.
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

std::filesystem::path frmConvert::QuellPfad() { return FolderPath(controls_.dir1->Path()); }

std::filesystem::path frmConvert::ZielPfad() { return FolderPath(controls_.dir2->Path()); }

void frmConvert::WriteInfo(std::string_view text, std::int32_t wert) {
  // The text names files: shown escaped, as every name in the window.
  QString caption = QStringLiteral("Bearbeite: ") + ShownName(text);
  if (wert != 0)
    caption += QStringLiteral(" [") + QString::number(wert) + QStringLiteral("]...");
  else
    caption += QStringLiteral("...");
  controls_.lbinfo->SetText(caption);
  controls_.lbinfo->repaint();
}

void frmConvert::DoEvents() { dialogs_.DoEvents(); }

void frmConvert::SetMousePointer(int pointer) { dialogs_.SetMousePointer(pointer); }

int frmConvert::MessageBox(std::string_view text, int style, std::string_view title) {
  return dialogs_.MessageBox(text, style, title);
}

void frmConvert::Form_Load() {
  loaded_ = true;
  // The status labels show the real state of the folders the lists open on; the page
  // change then leaves the source folder in the status bar.
  Dir1_Change();
  Dir2_Change();
  controls_.sstab1->SetTab(0);
}

void frmConvert::Drive1_Change() { ChangeDrive(controls_.drive1, controls_.dir1); }

void frmConvert::Drive2_Change() { ChangeDrive(controls_.drive2, controls_.dir2); }

void frmConvert::ChangeDrive(DriveList* drive, FolderList* folder) {
  const std::filesystem::path chosen = drive->Drive();
  if (folder->SetPath(chosen)) return;  // the folder list's change handler did the rest
  // The drive cannot be read: say so and return to the drive the folder list is on.
  MessageBox(DriveUnreadableMessage(chosen), kButtonsOk + kIconExclamation, kDriveTitle);
  drive->ShowDriveOf(folder->Path());
}

void frmConvert::ShowAnswer(ElidedLabel* label, bool yes) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ColourOf(yes ? kColourHighlight : kColourRed, palette));
  label->setPalette(palette);
  label->SetText(UiText(yes ? kYes : kNo));
}

void frmConvert::ShowStatus(const QString& text) {
  // A close asked for during the pass stays announced until the window closes.
  controls_.statusbar1->SetSimpleText(close_after_pass_ ? UiText(kClosingAfterPass) : text);
}

void frmConvert::Dir1_Change() {
  ShowAnswer(controls_.lbprj, ProjectExist(files_, QuellPfad()).yes);
  ShowStatus(DisplayText(QuellPfad()));
}

void frmConvert::Dir2_Change() {
  ShowAnswer(controls_.lbcr, ProjectCreatable(files_, ZielPfad()).yes);
  ShowStatus(DisplayText(ZielPfad()));
}

void frmConvert::SSTab1_Click(int /*previous_tab*/) {
  switch (const int page = controls_.sstab1->Tab()) {
    case 0:
    case 1: {
      // A folder page: its folder in the status bar, the idle text in lbInfo.
      ShowStatus(DisplayText(page == 0 ? QuellPfad() : ZielPfad()));
      const QByteArray tag = controls_.lbinfo->property("Tag").toString().toUtf8();
      WriteInfo(std::string_view(tag.constData(), static_cast<std::size_t>(tag.size())), 0);
      break;
    }
    case 2: {
      const std::filesystem::path source = QuellPfad();
      const std::filesystem::path target = ZielPfad();
      // Exact comparison: two spellings of one folder count as different.
      const bool differ = source.native() != target.native();
      btnConvert(0)->setEnabled(differ);
      ShowStatus(UiText(differ ? kConversionPossible : kChooseOtherFolders));
      break;
    }
    default:
      break;
  }
}

void frmConvert::Toolbar1_ButtonClick(int index) {
  switch (index) {
    case 1:
      controls_.sstab1->SetTab(0);
      break;
    case 2:
      controls_.sstab1->SetTab(1);
      break;
    case 3:
      // The page comes first: its handler decides whether the button is enabled.
      controls_.sstab1->SetTab(2);
      if (btnConvert(0)->isEnabled()) Tavrin();
      break;
    case 4:
      ShowSelectionSummary();
      break;
    case 5:
      prgAbout();
      break;
    default:
      break;
  }
}

void frmConvert::btnConvert_Click(int index) {
  if (index == 0)
    Tavrin();
  else
    prgAbout();
}

RequestResult frmConvert::Tavrin() {
  RequestResult result = request_.Tavrin();
  // A refusal may come from a folder that changed behind the window's back (gone, replaced
  // by a file, emptied, filled): the lists and labels show what is there now.
  if (result.outcome == RequestResult::Outcome::kRefused) ShowDiskState();
  // Closing was asked for while the pass ran; the outermost request carries it out.
  if (close_after_pass_ && !request_.running()) {
    close_after_pass_ = false;
    close();
  }
  return result;
}

void frmConvert::prgAbout() { MessageBox(AboutText(), kButtonsOk + kIconInformation, kInformationTitle); }

void frmConvert::ShowSelectionSummary() {
  const std::filesystem::path target = ZielPfad();
  const std::filesystem::path source = QuellPfad();
  // "ja" exactly when the request would run the pass: its own checks answer.
  const bool possible = CheckFolderPair(files_, source, target).refusal.empty();
  MessageBox(SelectionSummaryText(source, target, possible), kButtonsOk + kIconInformation,
             kInformationTitle);
}

void frmConvert::btnPath_Click(int index) {
  if (index == 0)
    NewFolder();
  else if (index == 1)
    DeleteFolder();
  else
    return;
  // Whatever happened above, and whatever other programs did meanwhile.
  ShowDiskState();
}

void frmConvert::ShowDiskState() {
  // A list that stays on its folder raises no change of its own, but what the folder holds
  // may have changed: its handler runs all the same.
  if (!controls_.dir1->Refresh()) Dir1_Change();
  if (!controls_.dir2->Refresh()) Dir2_Change();
  controls_.drive1->ShowDriveOf(controls_.dir1->Path());
  controls_.drive2->ShowDriveOf(controls_.dir2->Path());
  // The conversion page's button and text follow the folders now shown.
  if (controls_.sstab1->Tab() == 2) SSTab1_Click(2);
}

void frmConvert::NewFolder() {
  // A folder made during a pass could take the name of a file the pass has yet to write.
  if (request_.running()) {
    MessageBox(kNewFolderDuringPass, kButtonsOk + kIconExclamation, kNewFolderTitle);
    return;
  }
  const std::string name = dialogs_.InputBox(kNewFolderPrompt, kNewFolderTitle);
  // A name that cannot be made, or a folder that exists already, ends here without a word.
  if (const auto folder = NewFolderPath(ZielPfad(), name)) files_.MakeFolder(*folder);
}

void frmConvert::DeleteFolder() {
  if (request_.running()) {
    MessageBox(kDeleteFolderDuringPass, kButtonsOk + kIconExclamation, kDeleteFolderTitle);
    return;
  }
  // Taken once: the list moves away from the folder before its files are deleted.
  const std::filesystem::path folder = ZielPfad();
  DeletionCheck check = CheckDeletion(files_, folder, QuellPfad());
  if (!check.refusal.empty()) {
    MessageBox(check.refusal, kButtonsOk + kIconExclamation, kDeleteFolderTitle);
    return;
  }
  // "Nein" is the default button: Enter alone must not delete a folder's files.
  const int style = kButtonsYesNo + kIconQuestion + kDefaultButton2;
  if (MessageBox(DeleteConfirmation(folder), style, kDeleteFolderTitle) != kAnswerYes) return;
  controls_.dir2->SetPath("..");
  // Another program may have put something else in its place while the question was open.
  const std::string refusal = DeleteConfirmedFolder(files_, folder, *check.confirmed);
  check.confirmed.reset();  // not held open while the next box waits
  if (!refusal.empty()) MessageBox(refusal, kButtonsOk + kIconExclamation, kDeleteFolderTitle);
}

void frmConvert::CenterOnScreen() {
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  // The frame is not known before the window is shown; centring the client area is close enough.
  move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()).topLeft());
}

void frmConvert::showEvent(QShowEvent* event) {
  if (!loaded_ && !event->spontaneous()) Form_Load();
  QWidget::showEvent(event);
}

void frmConvert::closeEvent(QCloseEvent* event) {
  if (request_.running()) {
    // The pass finishes first, so no target file is left half written and the window that
    // the pass reports to stays in place; Tavrin closes the window when the pass returns.
    close_after_pass_ = true;
    ShowStatus(QString());
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

}  // namespace tavrin
