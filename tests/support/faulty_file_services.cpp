#include "tests/support/faulty_file_services.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "runtime/file_service_reasons.h"
#include "runtime/listing_pattern.h"

namespace tavrin::testing {
namespace {

template <typename Value>
const Value* FindFault(const std::map<std::string, Value>& faults, const std::filesystem::path& path) {
  const auto found = faults.find(path.filename().string());
  return found == faults.end() ? nullptr : &found->second;
}

// Passes the first `after_bytes` bytes through, then fails every read.
class FaultyInputFile : public InputFile {
 public:
  FaultyInputFile(std::unique_ptr<InputFile> real, std::size_t after_bytes, int error_number)
      : real_(std::move(real)), left_(after_bytes), error_number_(error_number) {}

  Status Read(char* buffer, std::size_t capacity, std::size_t* got) override {
    *got = 0;
    if (left_ == 0) return Status::FromErrno(error_number_, kSourceUnreadable);
    Status status = real_->Read(buffer, std::min(capacity, left_), got);
    if (status.ok()) left_ -= *got;
    return status;
  }

 private:
  std::unique_ptr<InputFile> real_;
  std::size_t left_;
  int error_number_;
};

// Passes the first `*write_limit` bytes through, then fails every write (no limit: all pass);
// fails Close with `close_error` unless it is 0.
class FaultyOutputFile : public OutputFile {
 public:
  FaultyOutputFile(std::unique_ptr<OutputFile> real, std::optional<std::size_t> write_limit, int write_error,
                   int close_error)
      : real_(std::move(real)), left_(write_limit), write_error_(write_error), close_error_(close_error) {}

  Status Write(std::string_view bytes) override {
    if (left_ && bytes.size() > *left_) {
      // Write what still fits, like a disk that fills up in the middle of a write.
      const Status written = real_->Write(bytes.substr(0, *left_));
      *left_ = 0;
      if (!written.ok()) return written;
      return Status::FromErrno(write_error_, kTargetUnwritable);
    }
    if (left_) *left_ -= bytes.size();
    return real_->Write(bytes);
  }

  Status Close() override {
    const Status closed = real_->Close();
    if (close_error_ != 0) return Status::FromErrno(close_error_, kTargetUnwritable);
    return closed;
  }

 private:
  std::unique_ptr<OutputFile> real_;
  std::optional<std::size_t> left_;
  int write_error_;
  int close_error_;
};

}  // namespace

FolderListing FaultyFileServices::List(const std::filesystem::path& pattern) {
  calls.push_back("List " + pattern.string());
  const ListingPattern split = SplitListingPattern(pattern);
  for (const auto& [folder_name, error_number] : list_faults_) {
    if (folder_name.empty() || folder_name == split.folder.filename().string()) {
      return {FolderUnreadable(split.folder, error_number), {}};
    }
  }
  return real_.List(pattern);
}

Status FaultyFileServices::OpenInput(const std::filesystem::path& file, std::unique_ptr<InputFile>* out) {
  calls.push_back("OpenInput " + file.string());
  if (before_read) before_read(file);
  return OpenFaultyInput(file, out);
}

Status FaultyFileServices::CreateOutput(const std::filesystem::path& file, std::unique_ptr<OutputFile>* out) {
  calls.push_back("CreateOutput " + file.string());
  return CreateFaultyOutput(file, out);
}

Status FaultyFileServices::CopyToNew(const std::filesystem::path& from, const std::filesystem::path& to) {
  calls.push_back("CopyToNew " + from.string() + " -> " + to.string());
  if (before_read) before_read(from);
  if (const int* error_number = FindFault(copy_faults_, from)) {
    return Status::FromErrno(*error_number, "Datei kann nicht kopiert werden");
  }
  const bool faulty = FindFault(open_faults_, from) || FindFault(read_faults_, from) ||
                      FindFault(create_faults_, to) || FindFault(write_faults_, to) ||
                      FindFault(close_faults_, to);
  return faulty ? CopyThroughFaults(from, to) : real_.CopyToNew(from, to);
}

Status FaultyFileServices::RemoveFile(const std::filesystem::path& file) {
  calls.push_back("RemoveFile " + file.string());
  if (const int* error_number = FindFault(remove_faults_, file)) {
    return Status::FromErrno(*error_number, kFileNotRemovable);
  }
  return real_.RemoveFile(file);
}

Status FaultyFileServices::MakeFolder(const std::filesystem::path& folder) {
  calls.push_back("MakeFolder " + folder.string());
  if (const int* error_number = FindFault(make_folder_faults_, folder)) {
    return Status::FromErrno(*error_number, kFolderNotCreatable);
  }
  return real_.MakeFolder(folder);
}

Status FaultyFileServices::RemoveFolder(const std::filesystem::path& folder) {
  calls.push_back("RemoveFolder " + folder.string());
  if (const int* error_number = FindFault(remove_folder_faults_, folder)) {
    return Status::FromErrno(*error_number, kFolderNotRemovable);
  }
  return real_.RemoveFolder(folder);
}

Status FaultyFileServices::OpenFaultyInput(const std::filesystem::path& file,
                                           std::unique_ptr<InputFile>* out) {
  if (const int* error_number = FindFault(open_faults_, file)) {
    return Status::FromErrno(*error_number, kSourceUnreadable);
  }
  std::unique_ptr<InputFile> real;
  Status status = real_.OpenInput(file, &real);
  if (!status.ok()) return status;
  if (const ByteFault* fault = FindFault(read_faults_, file)) {
    real = std::make_unique<FaultyInputFile>(std::move(real), fault->after_bytes, fault->error_number);
  }
  *out = std::move(real);
  return Status::Ok();
}

Status FaultyFileServices::CreateFaultyOutput(const std::filesystem::path& file,
                                              std::unique_ptr<OutputFile>* out) {
  if (const int* error_number = FindFault(create_faults_, file)) {
    return Status::FromErrno(*error_number, kTargetNotCreatable);
  }
  std::unique_ptr<OutputFile> real;
  Status status = real_.CreateOutput(file, &real);
  if (!status.ok()) return status;
  const ByteFault* write_fault = FindFault(write_faults_, file);
  const int* close_error = FindFault(close_faults_, file);
  if (write_fault || close_error) {
    real = std::make_unique<FaultyOutputFile>(
        std::move(real), write_fault ? std::optional<std::size_t>(write_fault->after_bytes) : std::nullopt,
        write_fault ? write_fault->error_number : 0, close_error ? *close_error : 0);
  }
  *out = std::move(real);
  return Status::Ok();
}

Status FaultyFileServices::CopyThroughFaults(const std::filesystem::path& from,
                                             const std::filesystem::path& to) {
  std::unique_ptr<InputFile> input;
  Status status = OpenFaultyInput(from, &input);
  if (!status.ok()) return status;
  std::unique_ptr<OutputFile> output;
  status = CreateFaultyOutput(to, &output);
  if (!status.ok()) return status;
  std::string buffer(64 * 1024, '\0');
  for (;;) {
    std::size_t got = 0;
    status = input->Read(buffer.data(), buffer.size(), &got);
    if (!status.ok() || got == 0) break;
    status = output->Write(std::string_view(buffer.data(), got));
    if (!status.ok()) break;
  }
  if (status.ok()) status = output->Close();
  if (!status.ok()) {
    output.reset();
    real_.RemoveFile(to);  // the file made above, as the real CopyToNew does
  }
  return status;
}

}  // namespace tavrin::testing
