#include "conversion/null_folder.h"

#include <cerrno>
#include <memory>

#include "runtime/file_service_reasons.h"

namespace tavrin {
namespace {

class NullOutput : public OutputFile {
 public:
  Status Write(std::string_view) override { return Status::Ok(); }
  Status Close() override { return Status::Ok(); }
};

class NullFolder : public OpenedFolder {
 public:
  NullFolder(std::shared_ptr<std::uint64_t> next_node, FolderId id, FolderId parent)
      : next_node_(std::move(next_node)), id_(id), parent_(parent) {}

  FolderId id() const override { return id_; }
  FolderListing List(std::string_view) override { return {}; }
  Status OpenInput(const std::filesystem::path&, std::unique_ptr<InputFile>*) override {
    return Status::FromErrno(ENOENT, kSourceUnreadable);
  }
  Status CreateOutput(const std::filesystem::path&, std::unique_ptr<OutputFile>* out) override {
    *out = std::make_unique<NullOutput>();
    return Status::Ok();
  }
  Status RemoveFile(const std::filesystem::path&) override { return Status::Ok(); }
  Status OpenFolder(const std::filesystem::path&, std::unique_ptr<OpenedFolder>* out) override {
    *out = std::make_unique<NullFolder>(next_node_, FolderId{0, ++*next_node_}, id_);
    return Status::Ok();
  }
  // The walk comes back up through here and checks the id it left.
  Status OpenParent(std::unique_ptr<OpenedFolder>* out) override {
    *out = std::make_unique<NullFolder>(next_node_, parent_, FolderId{});
    return Status::Ok();
  }
  Status MakeFolder(const std::filesystem::path&) override { return Status::Ok(); }

 private:
  std::shared_ptr<std::uint64_t> next_node_;
  FolderId id_;
  FolderId parent_;
};

}  // namespace

std::unique_ptr<OpenedFolder> MakeNullFolder() {
  auto next_node = std::make_shared<std::uint64_t>(1);
  return std::make_unique<NullFolder>(next_node, FolderId{0, 1}, FolderId{0, 1});
}

}  // namespace tavrin

