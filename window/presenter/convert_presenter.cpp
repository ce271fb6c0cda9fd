#include "window/presenter/convert_presenter.h"

#include <string>

#include "conversion/folder_path.h"
#include "conversion/folder_tests.h"
#include "runtime/shown_text.h"
#include "window/presenter/colours.h"
#include "window/presenter/command_texts.h"
#include "window/presenter/drive_rules.h"
#include "window/presenter/folder_commands.h"
#include "window/presenter/layout_table.h"
#include "window/presenter/mount_table.h"
#include "window/presenter/path_display.h"

namespace tavrin {

std::string DriveUnreadableMessage(const std::filesystem::path& drive) {
  return "Das Laufwerk [" + ShownPath(drive) + "] kann nicht gelesen werden.";
}

ConvertPresenter::ConvertPresenter(WindowView& view, DialogServices& dialogs, FileServices& files)
    : view_(view), dialogs_(dialogs), files_(files), conversion_host_(*this), request_(conversion_host_, files_) {
  SetMountTableReader(nullptr);
  SetDriveReader(nullptr);
}

void ConvertPresenter::SetMountTableReader(MountTableReader reader) {
  mount_table_ = reader ? std::move(reader) : MountTableReader(ReadMountTable);
}

void ConvertPresenter::SetDriveReader(DriveReader reader) {
  drive_reader_ = std::move(reader);
#ifndef _WIN32
  if (!drive_reader_) drive_reader_ = [this] { return MountedDrives(mount_table_()); };
#endif
}

void ConvertPresenter::ReadDrives() {
  if (!drive_reader_) return;
  view_.ShowDrives(drive_reader_());
  view_.ShowDriveOf(Side::kSource, view_.Folder(Side::kSource));
  view_.ShowDriveOf(Side::kTarget, view_.Folder(Side::kTarget));
}

void ConvertPresenter::DriveListOpened(Side /*side*/) { ReadDrives(); }

void ConvertPresenter::ShowCaption() { view_.SetCaption(kWindowCaption); }

std::filesystem::path ConvertPresenter::QuellPfad() { return FolderPath(view_.Folder(Side::kSource)); }

std::filesystem::path ConvertPresenter::ZielPfad() { return FolderPath(view_.Folder(Side::kTarget)); }

void ConvertPresenter::WriteInfo(std::string_view text, std::int32_t wert) {
  // The text names files: shown escaped, as every name in the window.
  std::string caption = "Bearbeite: " + ShownText(text);
  if (wert != 0)
    caption += " [" + std::to_string(wert) + "]...";
  else
    caption += "...";
  view_.SetInfoText(caption);
}

void ConvertPresenter::DoEvents() { dialogs_.DoEvents(); }

void ConvertPresenter::SetMousePointer(int pointer) { view_.SetBusyPointer(pointer == kPointerBusy); }

int ConvertPresenter::MessageBox(std::string_view text, int style, std::string_view title) {
  return dialogs_.MessageBox(text, style, title);
}

void ConvertPresenter::Form_Load() {
  loaded_ = true;
  // The status labels show the real state of the folders the lists open on; the page
  // change then leaves the source folder in the status bar.
  Dir1_Change();
  Dir2_Change();
  view_.SetPage(0);
}

void ConvertPresenter::Drive1_Change() { ChangeDrive(Side::kSource); }

void ConvertPresenter::Drive2_Change() { ChangeDrive(Side::kTarget); }

void ConvertPresenter::ChangeDrive(Side side) {
  const std::filesystem::path chosen = view_.Drive(side);
  if (view_.SetFolder(side, chosen)) return;  // the folder list's change handler did the rest
  // The drive cannot be read: say so and return to the drive the folder list is on.
  MessageBox(DriveUnreadableMessage(chosen), kButtonsOk + kIconExclamation, kDriveTitle);
  view_.ShowDriveOf(side, view_.Folder(side));
}

void ConvertPresenter::ShowAnswer(Side side, bool yes) {
  view_.ShowAnswer(side, yes ? kYes : kNo, yes ? kColourHighlight : kColourRed);
}

void ConvertPresenter::ShowStatus(std::string_view text) {
  // A close asked for during the pass stays announced until the window closes.
  view_.SetStatusText(close_after_pass_ ? kClosingAfterPass : text);
}

void ConvertPresenter::Dir1_Change() {
  ShowAnswer(Side::kSource, ProjectExist(files_, QuellPfad()).yes);
  ShowStatus(ShownPath(QuellPfad()));
}

void ConvertPresenter::Dir2_Change() {
  ShowAnswer(Side::kTarget, ProjectCreatable(files_, ZielPfad()).yes);
  ShowStatus(ShownPath(ZielPfad()));
}

void ConvertPresenter::SSTab1_Click(int /*previous_tab*/) {
  switch (const int page = view_.Page()) {
    case 0:
    case 1: {
      // A folder page: its folder in the status bar, the idle text in lbInfo.
      ShowStatus(ShownPath(page == 0 ? QuellPfad() : ZielPfad()));
      const LabelSpec* info = FindLabelSpec("lbInfo");
      WriteInfo(info != nullptr ? info->tag : "", 0);
      break;
    }
    case 2: {
      const std::filesystem::path source = QuellPfad();
      const std::filesystem::path target = ZielPfad();
      // Exact comparison: two spellings of one folder count as different.
      const bool differ = source.native() != target.native();
      view_.SetConvertEnabled(differ);
      ShowStatus(differ ? kConversionPossible : kChooseOtherFolders);
      break;
    }
    default:
      break;
  }
}

void ConvertPresenter::Toolbar1_ButtonClick(int index) {
  switch (index) {
    case 1:
      view_.SetPage(0);
      break;
    case 2:
      view_.SetPage(1);
      break;
    case 3:
      // The page comes first: its handler decides whether the button is enabled.
      view_.SetPage(2);
      if (view_.ConvertEnabled()) Tavrin();
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

void ConvertPresenter::btnConvert_Click(int index) {
  if (index == 0)
    Tavrin();
  else
    prgAbout();
}

RequestResult ConvertPresenter::Tavrin() {
  RequestResult result = request_.Tavrin();
  // A refusal may come from a folder that changed behind the window's back (gone, replaced
  // by a file, emptied, filled): the lists and labels show what is there now.
  if (result.outcome == RequestResult::Outcome::kRefused) ShowDiskState();
  // Closing was asked for while the pass ran; the outermost request carries it out.
  if (close_after_pass_ && !request_.running()) {
    close_after_pass_ = false;
    view_.Close();
  }
  return result;
}

void ConvertPresenter::prgAbout() { MessageBox(AboutText(), kButtonsOk + kIconInformation, kInformationTitle); }

bool ConvertPresenter::QueryClose() {
  if (!request_.running()) return true;
  // The pass finishes first, so no target file is left half written and the window that
  // the pass reports to stays in place; Tavrin closes the window when the pass returns.
  close_after_pass_ = true;
  ShowStatus({});
  return false;
}

void ConvertPresenter::ShowSelectionSummary() {
  const std::filesystem::path target = ZielPfad();
  const std::filesystem::path source = QuellPfad();
  // "ja" exactly when the request would run the pass: its own checks answer.
  const bool possible = CheckFolderPair(files_, source, target).refusal.empty();
  MessageBox(SelectionSummaryText(source, target, possible), kButtonsOk + kIconInformation,
             kInformationTitle);
}

void ConvertPresenter::btnPath_Click(int index) {
  if (index == 0)
    NewFolder();
  else if (index == 1)
    DeleteFolder();
  else
    return;
  // Whatever happened above, and whatever other programs did meanwhile.
  ShowDiskState();
}

void ConvertPresenter::ShowDiskState() {
  // A list that stays on its folder raises no change of its own, but what the folder holds
  // may have changed: its handler runs all the same.
  if (!view_.RefreshFolder(Side::kSource)) Dir1_Change();
  if (!view_.RefreshFolder(Side::kTarget)) Dir2_Change();
  // Drives mounted or removed since they were read last; each list on its folder's drive.
  ReadDrives();
  if (!drive_reader_) {
    view_.ShowDriveOf(Side::kSource, view_.Folder(Side::kSource));
    view_.ShowDriveOf(Side::kTarget, view_.Folder(Side::kTarget));
  }
  // The conversion page's button and text follow the folders now shown.
  if (view_.Page() == 2) SSTab1_Click(2);
}

void ConvertPresenter::NewFolder() {
  // A folder made during a pass could take the name of a file the pass has yet to write.
  if (request_.running()) {
    MessageBox(kNewFolderDuringPass, kButtonsOk + kIconExclamation, kNewFolderTitle);
    return;
  }
  const std::string name = dialogs_.InputBox(kNewFolderPrompt, kNewFolderTitle);
  // A name that cannot be made, or a folder that exists already, ends here without a word.
  if (const auto folder = NewFolderPath(ZielPfad(), name)) files_.MakeFolder(*folder);
}

void ConvertPresenter::DeleteFolder() {
  if (request_.running()) {
    MessageBox(kDeleteFolderDuringPass, kButtonsOk + kIconExclamation, kDeleteFolderTitle);
    return;
  }
  // Taken once: the list moves away from the folder before its files are deleted.
  const std::filesystem::path folder = ZielPfad();
  DeletionCheck check = CheckDeletion(files_, folder, QuellPfad(), mount_table_());
  if (!check.refusal.empty()) {
    MessageBox(check.refusal, kButtonsOk + kIconExclamation, kDeleteFolderTitle);
    return;
  }
  // "Nein" is the default button: Enter alone must not delete a folder's files.
  const int style = kButtonsYesNo + kIconQuestion + kDefaultButton2;
  if (MessageBox(DeleteConfirmation(folder), style, kDeleteFolderTitle) != kAnswerYes) return;
  view_.SetFolder(Side::kTarget, "..");
  // Another program may have put something else in its place while the question was open.
  // Closes the folder held since the question (not held open while the next box waits).
  const std::string refusal = DeleteConfirmedFolder(files_, folder, check.confirmed);
  if (!refusal.empty()) MessageBox(refusal, kButtonsOk + kIconExclamation, kDeleteFolderTitle);
}

}  // namespace tavrin
