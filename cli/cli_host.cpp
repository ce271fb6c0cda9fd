#include "cli/cli_host.h"

#include <utility>

#include "conversion/folder_path.h"
#include "cli/summary.h"
#include "runtime/dialog_services.h"

namespace tavrin::cli {

CliHost::CliHost(std::filesystem::path source, std::filesystem::path target, std::ostream& err,
                 ProgressBar& bar)
    : source_(std::move(source)), target_(std::move(target)), err_(err), bar_(bar) {}

std::filesystem::path CliHost::QuellPfad() { return FolderPath(source_); }

std::filesystem::path CliHost::ZielPfad() { return FolderPath(target_); }

// Called for every line read: deliberately nothing.
void CliHost::WriteInfo(std::string_view /*text*/, std::int32_t /*wert*/) {}

void CliHost::DoEvents() {}

void CliHost::SetMousePointer(int /*pointer*/) {}

void CliHost::Dir2_Change() {}

int CliHost::MessageBox(std::string_view text, int /*style*/, std::string_view title) {
  std::string printed;
  if (!title.empty()) {
    printed.append(title);
    printed.append(": ");
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // CR LF -> LF
    printed.push_back(text[i]);
  }
  printed.push_back('\n');
  bar_.Clear();
  err_ << printed << std::flush;
  return kAnswerOk;
}

void CliHost::OnProgress(const PassProgress& progress) {
  files_total_ = progress.files_total;
  bar_.Update(progress);
}

bool CliHost::StopRequested() const {
  return stop_signal_ != nullptr && stop_signal_->load(std::memory_order_relaxed) != 0;
}

void CliHost::FileDone(const TransferredFile& file, std::string_view diff) {
  if (listing_ == nullptr) return;
  bar_.Clear();
  *listing_ << DryRunLine(file);
  if (line_end_notes_ && file.line_ends_changed) *listing_ << "  (Zeilenenden werden zu CR LF)\n";
  *listing_ << diff << std::flush;
}

}  // namespace tavrin::cli
