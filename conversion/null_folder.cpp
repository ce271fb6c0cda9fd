#include "conversion/null_folder.h"

#include <cerrno>
#include <memory>

#include "runtime/file_service_reasons.h"

namespace tavrin {
namespace {

// No real device has this number, so a walk never takes an imagined folder for a real one.
constexpr std::uint64_t kNullDevice = ~std::uint64_t{0};

class NullOutput : public OutputFile {
 public:
  Status Write(std::string_view) override { return Status::Ok(); }
  Status Close() override { return Status::Ok(); }
};

// One folder of the imagined target. Each remembers the folder it was opened from, so that
// a walk going back up any number of levels finds the ids it left.
struct NullNode {
  FolderId id;
  std::shared_ptr<const NullNode> parent;  // empty for the top
};

class NullFolder : public OpenedFolder {
 public:
  NullFolder(std::shared_ptr<std::uint64_t> next_id, std::shared_ptr<const NullNode> node)
      : next_id_(std::move(next_id)), node_(std::move(node)) {}

  FolderId id() const override { return node_->id; }
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
    auto child = std::make_shared<const NullNode>(NullNode{FolderId{kNullDevice, ++*next_id_}, node_});
    *out = std::make_unique<NullFolder>(next_id_, std::move(child));
    return Status::Ok();
  }
  // The top folder gives itself, as the top folder of a drive does.
  Status OpenParent(std::unique_ptr<OpenedFolder>* out) override {
    *out = std::make_unique<NullFolder>(next_id_, node_->parent ? node_->parent : node_);
    return Status::Ok();
  }
  Status MakeFolder(const std::filesystem::path&) override { return Status::Ok(); }

 private:
  std::shared_ptr<std::uint64_t> next_id_;
  std::shared_ptr<const NullNode> node_;
};

}  // namespace

std::unique_ptr<OpenedFolder> MakeNullFolder() {
  return std::make_unique<NullFolder>(std::make_shared<std::uint64_t>(1),
                                      std::make_shared<const NullNode>(NullNode{FolderId{kNullDevice, 1}, nullptr}));
}

}  // namespace tavrin

