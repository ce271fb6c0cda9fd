#pragma once

#include <string>
#include <utility>

namespace tavrin {

// Outcome of a file or folder service: ok, or a German reason that a person can read
// ("Zugriff verweigert", "Zieldatei existiert bereits", ...). Nothing in the core throws
// across its interfaces; every fallible call returns a Status.
class Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(std::string reason) { return Status(std::move(reason)); }
  // The reason for a failed system call: `what` (may be empty) followed by the German
  // text for `error_number`, e.g. "Quelldatei kann nicht gelesen werden (Ein-/Ausgabefehler)".
  static Status FromErrno(int error_number, const std::string& what = {});

  bool ok() const { return ok_; }
  const std::string& reason() const { return reason_; }
  // The errno value of a Status made by FromErrno; 0 for any other.
  int error_number() const { return error_number_; }

 private:
  explicit Status(std::string reason, int error_number = 0)
      : ok_(false), reason_(std::move(reason)), error_number_(error_number) {}
  bool ok_ = true;
  std::string reason_;
  int error_number_ = 0;
};

// German text for an errno value; "Systemfehler <n>" for values without a text of their own.
std::string GermanErrorText(int error_number);

}  // namespace tavrin
