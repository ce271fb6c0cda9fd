// The file services on Windows. Every file is reached relative to an opened folder handle (the
// native NtCreateFile with a root directory, the counterpart of openat), names stay UTF-16
// throughout, and paths go to the system in their extended-length form ("\\?\C:\p"), so that
// no 260-character limit applies.
#include <windows.h>
#include <winioctl.h>
#include <winternl.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "runtime/bounded_input_file.h"
#include "runtime/file_service_reasons.h"
#include "runtime/file_services.h"
#include "runtime/listing_pattern.h"
#include "runtime/path_text.h"
#include "runtime/wildcard.h"

// Not declared by the MinGW headers; exported by ntdll since Windows NT.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PVOID apc_routine, PVOID apc_context,
                                               PIO_STATUS_BLOCK io_status, PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS information_class, BOOLEAN single_entry,
                                               PUNICODE_STRING file_name, BOOLEAN restart_scan);

namespace tavrin {
namespace {

// The NTSTATUS values looked at here (ntstatus.h cannot be included next to windows.h).
constexpr NTSTATUS kStatusBufferOverflow = static_cast<NTSTATUS>(0x80000005);
constexpr NTSTATUS kStatusNoMoreFiles = static_cast<NTSTATUS>(0x80000006);
constexpr NTSTATUS kStatusInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
constexpr NTSTATUS kStatusBufferTooSmall = static_cast<NTSTATUS>(0xC0000023);
constexpr NTSTATUS kStatusNameTooLong = static_cast<NTSTATUS>(0xC0000106);
constexpr NTSTATUS kStatusObjectNameInvalid = static_cast<NTSTATUS>(0xC0000033);
constexpr NTSTATUS kStatusObjectNameNotFound = static_cast<NTSTATUS>(0xC0000034);
constexpr NTSTATUS kStatusObjectNameCollision = static_cast<NTSTATUS>(0xC0000035);
constexpr NTSTATUS kStatusObjectPathNotFound = static_cast<NTSTATUS>(0xC000003A);
constexpr NTSTATUS kStatusDeletePending = static_cast<NTSTATUS>(0xC0000056);
constexpr NTSTATUS kStatusFileIsADirectory = static_cast<NTSTATUS>(0xC00000BA);
constexpr NTSTATUS kStatusNotADirectory = static_cast<NTSTATUS>(0xC0000103);
constexpr NTSTATUS kStatusStoppedOnSymlink = static_cast<NTSTATUS>(0x8000002D);
constexpr NTSTATUS kStatusReparsePointNotResolved = static_cast<NTSTATUS>(0xC0000280);
constexpr NTSTATUS kStatusIoReparseTagNotHandled = static_cast<NTSTATUS>(0xC0000279);

constexpr auto kFileFullDirectoryInformation = static_cast<FILE_INFORMATION_CLASS>(2);
constexpr auto kFileAttributeTagInformation = static_cast<FILE_INFORMATION_CLASS>(35);
// The longest name the native calls take: a UNICODE_STRING counts its bytes in 16 bits.
constexpr std::size_t kLongestNativeName = 32767;

// One entry of a FileFullDirectoryInformation listing. For an entry with the reparse-point
// attribute, `ea_size` holds its reparse tag.
struct FullDirectoryEntry {
  ULONG next_entry_offset;
  ULONG file_index;
  LARGE_INTEGER creation_time, last_access_time, last_write_time, change_time;
  LARGE_INTEGER end_of_file, allocation_size;
  ULONG file_attributes;
  ULONG file_name_length;  // in bytes
  ULONG ea_size;
  WCHAR file_name[1];
};

struct AttributeTagInformation {
  ULONG file_attributes;
  ULONG reparse_tag;
};

constexpr DWORD kHiddenAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A folder is opened without delete sharing: as long as its handle is open, nobody can rename
// or remove it, nor put another folder in its place.
constexpr ULONG kShareFolder = FILE_SHARE_READ | FILE_SHARE_WRITE;

// The errno value that carries the German text for a Windows error; 0 for none.
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_DELETE_PENDING:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_CANNOT_MAKE:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_PARAMETER:
      return EINVAL;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    case ERROR_CANT_RESOLVE_FILENAME:
    case ERROR_CANT_ACCESS_FILE:
      return ELOOP;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return ETXTBSY;
    case ERROR_NOT_SUPPORTED:
      return EOPNOTSUPP;
    case ERROR_SEM_TIMEOUT:
      return ETIMEDOUT;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
    case ERROR_NOT_READY:
      return EIO;
    case ERROR_FILE_TOO_LARGE:
      return EFBIG;
    default:
      return 0;
  }
}

// `what` followed by the German text of a Windows error.
Status FromWindowsError(DWORD error, const std::string& what) {
  if (const int error_number = ErrnoOf(error)) return Status::FromErrno(error_number, what);
  return Status::Error(what + " (Windows-Fehler " + std::to_string(error) + ")");
}

// The Windows error of a native status; a few get a more precise one than ntdll would give.
DWORD ErrorOf(NTSTATUS status) {
  switch (status) {
    case kStatusNotADirectory:
      return ERROR_DIRECTORY;
    case kStatusObjectNameCollision:
      return ERROR_ALREADY_EXISTS;
    case kStatusObjectNameInvalid:
      return ERROR_INVALID_NAME;
    case kStatusDeletePending:
      return ERROR_DELETE_PENDING;
    case kStatusStoppedOnSymlink:
    case kStatusReparsePointNotResolved:
    case kStatusIoReparseTagNotHandled:
      return ERROR_CANT_RESOLVE_FILENAME;
    default:
      return RtlNtStatusToDosError(status);
  }
}

Status FromNtStatus(NTSTATUS status, const std::string& what) {
  // ntdll would call it "access denied".
  if (status == kStatusFileIsADirectory) return Status::FromErrno(EISDIR, what);
  return FromWindowsError(ErrorOf(status), what);
}

// A native status that says an entry resolves to nothing usable: it is skipped like a
// dangling link, not reported.
bool IsUnresolvable(NTSTATUS status) {
  return status == kStatusObjectNameNotFound || status == kStatusObjectPathNotFound ||
         status == kStatusDeletePending || status == kStatusStoppedOnSymlink ||
         status == kStatusReparsePointNotResolved || status == kStatusIoReparseTagNotHandled ||
         status == kStatusObjectNameInvalid || status == kStatusNotADirectory;
}

// A name handed to a folder must be one entry of it: not empty, not "." or "..", no separator
// and no ":" (which would name a stream of a file), no NUL.
bool IsSingleName(const std::filesystem::path& name) {
  const std::wstring& text = name.native();
  return !text.empty() && text != L"." && text != L".." && text.size() < 32767 &&
         text.find_first_of(std::wstring(L"\\/:\0", 4)) == std::wstring::npos;
}

class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  // Closes now; false when the system reports a failure.
  bool Close() {
    if (!valid()) return true;
    return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0;
  }

 private:
  HANDLE handle_;
};

// Opens `name` inside the folder `root` (exactly that name, letter case ignored as Windows
// does); `*status` is the native result.
Handle OpenRelative(HANDLE root, const std::filesystem::path& name, ACCESS_MASK access, ULONG share,
                    ULONG disposition, ULONG options, NTSTATUS* status, ULONG attributes_made = FILE_ATTRIBUTE_NORMAL) {
  const std::wstring& text = name.native();
  UNICODE_STRING object_name;
  object_name.Buffer = const_cast<PWSTR>(text.c_str());
  object_name.Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
  object_name.MaximumLength = object_name.Length;
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &object_name, OBJ_CASE_INSENSITIVE, root, nullptr);
  IO_STATUS_BLOCK io{};
  HANDLE handle = nullptr;
  *status = NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &io, nullptr, attributes_made, share,
                         disposition, options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
  return Handle(NT_SUCCESS(*status) ? handle : INVALID_HANDLE_VALUE);
}

// The extended-length form of `path` ("\\?\C:\p", "\\?\UNC\server\share\p"), made absolute and
// normal first as Windows does with any path. A path already in that form stays as it is.
bool ExtendedPath(const std::filesystem::path& path, std::wstring* extended) {
  const std::wstring& text = path.native();
  if (text.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  if (text.starts_with(L"\\\\?\\") || text.starts_with(L"\\\\.\\")) {
    *extended = text;
    return true;
  }
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(text.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return false;
    if (length < full.size()) {
      full.resize(length);
      break;
    }
    full.resize(length);
  }
  if (full.starts_with(L"\\\\")) {
    *extended = L"\\\\?\\UNC\\" + full.substr(2);
  } else {
    *extended = L"\\\\?\\" + full;
  }
  return true;
}

// True when, of the entries above `extended` (an extended-length path), the nearest that
// exists is no folder: then `extended` cannot be reached because of a file in its way.
bool BlockedByAFile(const std::wstring& extended) {
  std::wstring at = extended;
  for (;;) {
    const std::size_t separator = at.find_last_of(L'\\');
    if (separator == std::wstring::npos || separator < 4) return false;
    at.resize(separator);
    const DWORD attributes = GetFileAttributesW(at.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return false;
  }
}

// The error of a failed call on `extended`: "not found" turns into "no folder" when a file
// stands in the way, as on POSIX systems.
DWORD PathError(const std::wstring& extended, DWORD error) {
  if ((error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && BlockedByAFile(extended)) {
    return ERROR_DIRECTORY;
  }
  return error;
}

// Reads of a disk file. A handle of any other kind (a pipe, a device reached through a link)
// is refused when the file is opened, so no read can wait for data that never comes.
class DiskInputFile : public BoundedInputFile {
 public:
  DiskInputFile(HANDLE handle, std::uint64_t size) : BoundedInputFile(size), handle_(handle) {}

 protected:
  Status ReadSome(char* buffer, std::size_t capacity, std::size_t* got) override {
    *got = 0;
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 30));
    if (!ReadFile(handle_.get(), buffer, want, &read, nullptr)) {
      const DWORD error = GetLastError();
      if (error == ERROR_HANDLE_EOF) return Status::Ok();
      return FromWindowsError(error, kSourceUnreadable);
    }
    *got = read;
    return Status::Ok();
  }

 private:
  Handle handle_;
};

// A target file is written under a hidden temporary name in its folder and gets its own name
// only once it is complete, so an interrupted or failed file never looks like a finished one.
// Close renames it through its handle, relative to the folder's handle and without replacing
// anything, then shows it; a file that is not closed successfully is deleted through its handle.
class DiskOutputFile : public OutputFile {
 public:
  // `folder` is a handle of its own for the folder that holds both names.
  DiskOutputFile(HANDLE handle, HANDLE folder, std::wstring name) : handle_(handle), folder_(folder), name_(std::move(name)) {}
  ~DiskOutputFile() override {
    if (!handle_.valid() || done_) return;
    FILE_DISPOSITION_INFO dispose{TRUE};
    SetFileInformationByHandle(handle_.get(), FileDispositionInfo, &dispose, sizeof dispose);
  }
  DiskOutputFile(const DiskOutputFile&) = delete;
  DiskOutputFile& operator=(const DiskOutputFile&) = delete;

  Status Write(std::string_view bytes) override {
    if (!handle_.valid() || closed_) return Status::FromErrno(EBADF, kTargetUnwritable);
    while (!bytes.empty()) {
      DWORD written = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      if (!WriteFile(handle_.get(), bytes.data(), want, &written, nullptr)) {
        return FromWindowsError(GetLastError(), kTargetUnwritable);
      }
      if (written == 0) return Status::FromErrno(EIO, kTargetUnwritable);  // no progress: give up
      bytes.remove_prefix(written);
    }
    return Status::Ok();
  }

  // Closes once; a second call repeats the first one's result. A failure before the file has
  // its name deletes it (when the handle goes).
  Status Close() override {
    if (!handle_.valid() || closed_) return close_status_;
    closed_ = true;
    close_status_ = Publish();
    folder_.Close();  // the folder stays free to be removed
    return close_status_;
  }

 private:
  Status Publish() {
    // The rename names the file relative to the folder's handle; ReplaceIfExists stays FALSE.
    const std::size_t size = offsetof(FILE_RENAME_INFORMATION, FileName) + name_.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(size + sizeof(wchar_t), 0);
    auto* rename = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = folder_.get();
    rename->FileNameLength = static_cast<ULONG>(name_.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, name_.data(), rename->FileNameLength);
    IO_STATUS_BLOCK io{};
    const NTSTATUS renamed =
        NtSetInformationFile(handle_.get(), &io, rename, static_cast<ULONG>(size), FileRenameInformation);
    if (!NT_SUCCESS(renamed)) return FromNtStatus(renamed, kTargetNotCreatable);
    done_ = true;  // from here on the file is the finished one and stays
    FILE_BASIC_INFO basic{};
    if (GetFileInformationByHandleEx(handle_.get(), FileBasicInfo, &basic, sizeof basic)) {
      basic.FileAttributes &= ~DWORD{FILE_ATTRIBUTE_HIDDEN};
      if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
      SetFileInformationByHandle(handle_.get(), FileBasicInfo, &basic, sizeof basic);
    }
    if (!handle_.Close()) return FromWindowsError(GetLastError(), kTargetUnwritable);
    return Status::Ok();
  }

  Handle handle_;
  Handle folder_;
  std::wstring name_;
  bool closed_ = false;
  bool done_ = false;  // renamed: the finished file, never deleted
  Status close_status_;
};

// A name for a file being written, hidden also by its attribute: ".tavrin-", 16 random hex
// digits, ".tmp".
std::wstring TemporaryName() {
  static std::mt19937_64 numbers{(std::uint64_t{std::random_device{}()} << 32) ^ GetTickCount64() ^
                                 GetCurrentProcessId()};
  wchar_t text[40];
  swprintf(text, sizeof text / sizeof text[0], L".tavrin-%016llx.tmp", static_cast<unsigned long long>(numbers()));
  return text;
}

// The identity and attributes of an opened entry.
bool Identify(HANDLE handle, FolderId* id, DWORD* attributes) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info)) return false;
  *id = {info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
  *attributes = info.dwFileAttributes;
  return true;
}

// True when the entry behind `handle`, opened without following it, is a link of some kind
// (a symbolic link, a junction): a reparse point whose tag is a name surrogate, or one whose
// tag cannot be told.
bool IsLink(HANDLE handle) {
  AttributeTagInformation info{};
  IO_STATUS_BLOCK io{};
  if (!NT_SUCCESS(NtQueryInformationFile(handle, &io, &info, sizeof info, kFileAttributeTagInformation))) {
    BY_HANDLE_FILE_INFORMATION basic;
    return !GetFileInformationByHandle(handle, &basic) || (basic.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
  }
  if ((info.file_attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return false;
  return info.reparse_tag == 0 || IsReparseTagNameSurrogate(info.reparse_tag);
}

// Asks `query` (a native call that fills a buffer of the given size and says the size it
// needs) for a name, in a buffer that grows until the answer fits. The answer is a
// FILE_NAME_INFORMATION with `counted`, else an OBJECT_NAME_INFORMATION.
template <typename Query>
NTSTATUS NativeName(Query query, bool counted, std::wstring* name) {
  // The longest name, its count and a UNICODE_STRING fit in a few bytes more than 64 KiB.
  constexpr ULONG kMost = (kLongestNativeName + 64) * sizeof(WCHAR);
  std::vector<std::uint64_t> buffer(64);
  for (;;) {
    const ULONG size = static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t));
    ULONG needed = 0;
    const NTSTATUS status = query(buffer.data(), size, &needed);
    const bool short_buffer = status == kStatusBufferOverflow || status == kStatusInfoLengthMismatch ||
                              status == kStatusBufferTooSmall;
    if (short_buffer && size < kMost) {
      buffer.resize((std::min(std::max<ULONG>(needed, 2 * size), kMost) + 7) / sizeof(std::uint64_t));
      continue;
    }
    if (short_buffer) return kStatusNameTooLong;
    if (!NT_SUCCESS(status)) return status;
    if (counted) {
      const auto* info = reinterpret_cast<const FILE_NAME_INFORMATION*>(buffer.data());
      if (info->FileNameLength > size - offsetof(FILE_NAME_INFORMATION, FileName)) return kStatusNameTooLong;
      name->assign(info->FileName, info->FileNameLength / sizeof(WCHAR));
    } else {
      const auto* info = reinterpret_cast<const OBJECT_NAME_INFORMATION*>(buffer.data());
      name->assign(info->Name.Buffer, info->Name.Length / sizeof(WCHAR));
    }
    return status;
  }
}

// The native name of the folder above the one behind `handle`, which no link leads through:
// the name of the volume's device ("\Device\HarddiskVolume3"; Wine: "\??\Z:") and the
// folder's path on the volume without its last name. The top folder of a volume gives itself.
NTSTATUS NativeParentName(HANDLE handle, std::wstring* parent) {
  std::wstring whole;  // "\Device\HarddiskVolume3\a\b"
  NTSTATUS status = NativeName(
      [&](void* buffer, ULONG size, ULONG* needed) {
        return NtQueryObject(handle, ObjectNameInformation, buffer, size, needed);
      },
      false, &whole);
  if (!NT_SUCCESS(status)) return status;
  std::wstring on_volume;  // "\a\b"
  status = NativeName(
      [&](void* buffer, ULONG size, ULONG* needed) {
        IO_STATUS_BLOCK io{};
        const NTSTATUS queried = NtQueryInformationFile(handle, &io, buffer, size, FileNameInformation);
        // Only the count at the start tells how much the whole name needs.
        if (queried == kStatusBufferOverflow && size >= sizeof(ULONG)) {
          *needed = static_cast<ULONG>(offsetof(FILE_NAME_INFORMATION, FileName)) +
                    static_cast<const FILE_NAME_INFORMATION*>(buffer)->FileNameLength;
        }
        return queried;
      },
      true, &on_volume);
  if (!NT_SUCCESS(status)) return status;
  while (on_volume.size() > 1 && on_volume.back() == L'\\') on_volume.pop_back();
  if (on_volume.empty() || on_volume.front() != L'\\' || whole.size() < on_volume.size() ||
      CompareStringOrdinal(whole.c_str() + (whole.size() - on_volume.size()), static_cast<int>(on_volume.size()),
                           on_volume.c_str(), static_cast<int>(on_volume.size()), TRUE) != CSTR_EQUAL) {
    return kStatusObjectNameInvalid;  // the two names do not fit together: decide nothing
  }
  const std::wstring device = whole.substr(0, whole.size() - on_volume.size());
  const std::size_t last = on_volume.find_last_of(L'\\');
  *parent = device + (last == 0 ? std::wstring(L"\\") : on_volume.substr(0, last));
  return status;
}

// What a reparse point holds, in the layout of REPARSE_DATA_BUFFER (which the MinGW headers
// leave out): tag, length, and for symbolic links and junctions four offsets and lengths (in
// bytes) into the path buffer, which for a symbolic link follows a field of flags.
struct ReparseData {
  ULONG tag = 0;
  std::wstring substitute_name;  // for the system: "\??\C:\Ziel", "\??\Volume{...}\"
  std::wstring print_name;       // for people; may be empty
};

// Fills `data` from raw reparse data of `got` bytes; false when it holds no names.
bool ParseReparse(const unsigned char* bytes, std::size_t got, ReparseData* data) {
  if (got < 8) return false;
  std::memcpy(&data->tag, bytes, sizeof data->tag);
  if (data->tag != IO_REPARSE_TAG_SYMLINK && data->tag != IO_REPARSE_TAG_MOUNT_POINT) return true;
  USHORT field[4];  // substitute offset, length, print offset, length
  if (got < 8 + sizeof field) return false;
  std::memcpy(field, bytes + 8, sizeof field);
  const std::size_t names = 8 + sizeof field + (data->tag == IO_REPARSE_TAG_SYMLINK ? sizeof(ULONG) : 0);
  const auto name_at = [&](USHORT offset, USHORT length) {
    if (names + offset + length > got) return std::wstring();
    std::wstring name(length / sizeof(wchar_t), L'\0');
    std::memcpy(name.data(), bytes + names + offset, name.size() * sizeof(wchar_t));
    return name;
  };
  data->substitute_name = name_at(field[0], field[1]);
  data->print_name = name_at(field[2], field[3]);
  return true;
}

// The reparse data of the entry at `path` itself (a separator at its end does not count);
// false when it is no reparse point or cannot be read.
bool ReadReparse(const std::filesystem::path& path, ReparseData* data) {
  std::wstring extended;
  if (!ExtendedPath(path, &extended)) return false;
  while (extended.size() > 7 && (extended.back() == L'\\' || extended.back() == L'/')) extended.pop_back();
  Handle entry(CreateFileW(extended.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!entry.valid()) return false;
  const auto buffer = std::make_unique<std::uint64_t[]>(MAXIMUM_REPARSE_DATA_BUFFER_SIZE / sizeof(std::uint64_t));
  DWORD got = 0;
  if (!DeviceIoControl(entry.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.get(),
                       MAXIMUM_REPARSE_DATA_BUFFER_SIZE, &got, nullptr)) {
    return false;
  }
  return ParseReparse(reinterpret_cast<const unsigned char*>(buffer.get()), got, data);
}

// `path` without the extended-length prefix: "\\?\C:\a" gives "C:\a", "\\?\UNC\s\p" gives "\\s\p".
std::wstring Unextended(const std::wstring& path) {
  if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
  if (path.starts_with(L"\\\\?\\") || path.starts_with(L"\\??\\")) return path.substr(4);
  return path;
}

// A junction to a volume's name: a volume mounted at this folder.
bool IsVolumeMount(const ReparseData& data) {
  return data.tag == IO_REPARSE_TAG_MOUNT_POINT &&
         (data.substitute_name.starts_with(L"\\??\\Volume{") || data.substitute_name.starts_with(L"\\\\?\\Volume{"));
}

class DiskOpenedFolder : public OpenedFolder {
 public:
  // `shown` names the folder in messages.
  DiskOpenedFolder(HANDLE handle, std::wstring shown, FolderId id, bool removable = false)
      : handle_(handle), shown_(std::move(shown)), id_(id), removable_(removable) {}

  FolderId id() const override { return id_; }

  FolderListing List(std::string_view wildcard) override {
    FolderListing listing = ListEntries(wildcard);
    SortByName(listing);
    return listing;
  }

  Status OpenInput(const std::filesystem::path& name, std::unique_ptr<InputFile>* out) override {
    if (!IsSingleName(name)) return Status::FromErrno(EINVAL, kSourceUnreadable);
    NTSTATUS status = 0;
    Handle file = OpenRelative(handle_.get(), name, FILE_READ_DATA | FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN,
                               FILE_NON_DIRECTORY_FILE | FILE_SEQUENTIAL_ONLY, &status);
    if (!file.valid()) return FromNtStatus(status, kSourceUnreadable);
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
      return Status::Error(std::string(kSourceUnreadable) + " (ist keine gewöhnliche Datei)");
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) return FromWindowsError(GetLastError(), kSourceUnreadable);
    *out = std::make_unique<DiskInputFile>(file.release(), static_cast<std::uint64_t>(size.QuadPart));
    return Status::Ok();
  }

  // Fails when an entry of that name exists, a link included; the file itself is made new
  // under a hidden temporary name (the reparse point flag makes sure that no link is ever
  // followed) and named on Close.
  Status CreateOutput(const std::filesystem::path& name, std::unique_ptr<OutputFile>* out) override {
    if (!IsSingleName(name)) return Status::FromErrno(EINVAL, kTargetNotCreatable);
    NTSTATUS status = 0;
    // The name must be free: made new for a moment, as the system decides (also where a link
    // that leads nowhere stands, which Wine cannot open), and gone again with its handle, even
    // if the program is ended right then.
    if (!OpenRelative(handle_.get(), name, DELETE, 0, FILE_CREATE,
                      FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_DELETE_ON_CLOSE, &status)
             .valid()) {
      return FromNtStatus(status, kTargetNotCreatable);
    }
    HANDLE folder = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handle_.get(), GetCurrentProcess(), &folder, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
      return FromWindowsError(GetLastError(), kTargetNotCreatable);
    }
    Handle owned_folder(folder);
    for (int attempt = 0;; ++attempt) {
      Handle file = OpenRelative(handle_.get(), TemporaryName(),
                                 FILE_WRITE_DATA | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | DELETE,
                                 FILE_SHARE_READ, FILE_CREATE,
                                 FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_SEQUENTIAL_ONLY, &status,
                                 FILE_ATTRIBUTE_HIDDEN);
      if (!file.valid() && status == kStatusObjectNameCollision && attempt < 100) continue;
      if (!file.valid()) return FromNtStatus(status, kTargetNotCreatable);
      *out = std::make_unique<DiskOutputFile>(file.release(), owned_folder.release(), name.native());
      return Status::Ok();
    }
  }

  Status RemoveFile(const std::filesystem::path& name) override {
    if (!IsSingleName(name)) return Status::FromErrno(EINVAL, kFileNotRemovable);
    NTSTATUS status = 0;
    Handle file = OpenRelative(handle_.get(), name, DELETE, kShareAll, FILE_OPEN,
                               FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_DELETE_ON_CLOSE, &status);
    if (!file.valid()) return FromNtStatus(status, kFileNotRemovable);
    if (!file.Close()) return FromWindowsError(GetLastError(), kFileNotRemovable);
    return Status::Ok();
  }

  Status OpenFolder(const std::filesystem::path& name, std::unique_ptr<OpenedFolder>* out) override {
    return OpenSubfolder(name, false, out);
  }

  // With the right to delete and without delete sharing: while it is open, nobody can rename
  // or remove the folder, nor open it to do so.
  Status OpenFolderToRemove(const std::filesystem::path& name, std::unique_ptr<OpenedFolder>* out) override {
    return OpenSubfolder(name, true, out);
  }

  bool RemovesItself() const override { return removable_ && handle_.valid(); }

  // Marked for deletion through its own handle, which then closes: the folder that goes is the
  // one opened, whatever its path names now. A folder not empty stays.
  Status RemoveItself() override {
    if (!RemovesItself()) return OpenedFolder::RemoveItself();
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(handle_.get(), FileDispositionInfo, &disposition, sizeof disposition)) {
      const DWORD error = GetLastError();
      handle_.Close();
      return FromWindowsError(error, kFolderNotRemovable);
    }
    if (!handle_.Close()) return FromWindowsError(GetLastError(), kFolderNotRemovable);
    return Status::Ok();
  }

  // Found by the path the system gives for this folder's handle, which leads through no link;
  // the walk that asks compares ids to be sure it is where it came from.
  Status OpenParent(std::unique_ptr<OpenedFolder>* out) override {
    std::wstring shown = shown_;
    while (shown.size() > 1 && (shown.back() == L'\\' || shown.back() == L'/')) shown.pop_back();
    const std::filesystem::path shown_path(shown);
    if (shown_path.has_relative_path()) shown = shown_path.parent_path().native();
    std::wstring final_path(MAX_PATH, L'\0');
    for (;;) {
      const DWORD length = GetFinalPathNameByHandleW(handle_.get(), final_path.data(),
                                                     static_cast<DWORD>(final_path.size()), FILE_NAME_NORMALIZED);
      // Some systems (Wine) read the name into a buffer of their own of MAX_PATH characters and
      // give up on a longer one, however large the buffer given: then the native names serve.
      if (length == 0 && GetLastError() == ERROR_MORE_DATA) return OpenNativeParent(std::move(shown), out);
      if (length == 0) return FromWindowsError(GetLastError(), FolderUnreadableText(shown));
      const bool fits = length < final_path.size();
      final_path.resize(length);
      if (fits) break;
    }
    // "\\?\C:\a\b" gives "\\?\C:\a"; the top folder of a drive ("\\?\C:\") or share gives itself.
    const std::size_t last = final_path.find_last_of(L'\\');
    const std::size_t root_end = final_path.starts_with(L"\\\\?\\UNC\\")
                                     ? final_path.find(L'\\', final_path.find(L'\\', 8) + 1)
                                     : final_path.find(L'\\', 4);
    if (last != std::wstring::npos && root_end != std::wstring::npos && last > root_end) {
      final_path.resize(last);
    } else if (root_end != std::wstring::npos) {
      final_path.resize(root_end + 1);
    }
    HANDLE handle = CreateFileW(final_path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_TRAVERSE,
                                kShareFolder, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return FromWindowsError(GetLastError(), FolderUnreadableText(shown));
    return Adopt(handle, std::move(shown), out);
  }

  Status MakeFolder(const std::filesystem::path& name) override {
    if (!IsSingleName(name)) return Status::FromErrno(EINVAL, kFolderNotCreatable);
    NTSTATUS status = 0;
    Handle folder = OpenRelative(handle_.get(), name, FILE_LIST_DIRECTORY, kShareAll, FILE_CREATE,
                                 FILE_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT, &status);
    if (!folder.valid()) return FromNtStatus(status, kFolderNotCreatable);
    return Status::Ok();
  }

  // The folder above, opened by its native name.
  Status OpenNativeParent(std::wstring shown, std::unique_ptr<OpenedFolder>* out) {
    std::wstring parent;
    NTSTATUS status = NativeParentName(handle_.get(), &parent);
    if (!NT_SUCCESS(status)) return FromNtStatus(status, FolderUnreadableText(shown));
    if (parent.size() >= kLongestNativeName) return FolderUnreadable(shown, ENAMETOOLONG);
    Handle folder = OpenRelative(nullptr, parent, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_TRAVERSE,
                                 kShareFolder, FILE_OPEN, FILE_DIRECTORY_FILE, &status);
    if (!folder.valid()) return FromNtStatus(status, FolderUnreadableText(shown));
    return Adopt(folder.release(), std::move(shown), out);
  }

  // Takes over `handle`, an opened folder.
  static Status Adopt(HANDLE handle, std::wstring shown, std::unique_ptr<OpenedFolder>* out,
                      bool removable = false) {
    Handle owned(handle);
    FolderId id;
    DWORD attributes = 0;
    if (!Identify(handle, &id, &attributes)) return FromWindowsError(GetLastError(), FolderUnreadableText(shown));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return FolderUnreadable(shown, ENOTDIR);
    *out = std::make_unique<DiskOpenedFolder>(owned.release(), std::move(shown), id, removable);
    return Status::Ok();
  }

 private:
  Status OpenSubfolder(const std::filesystem::path& name, bool removable, std::unique_ptr<OpenedFolder>* out) {
    // Joined as text: a path object would split the whole, ever longer path at every level.
    std::wstring shown = shown_;
    if (shown.empty() || (shown.back() != L'\\' && shown.back() != L'/')) shown += L'\\';
    shown += name.native();
    if (!IsSingleName(name)) return FolderUnreadable(shown, EINVAL);
    NTSTATUS status = 0;
    Handle folder = OpenRelative(handle_.get(), name,
                                 FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_TRAVERSE | (removable ? DELETE : 0),
                                 kShareFolder, FILE_OPEN, FILE_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT, &status);
    if (!folder.valid()) return FromNtStatus(status, FolderUnreadableText(shown));
    if (IsLink(folder.get())) return FolderUnreadable(shown, ELOOP);
    return Adopt(folder.release(), std::move(shown), out, removable);
  }

  FolderListing ListEntries(std::string_view wildcard) {
    FolderListing listing;
    // A fresh handle of the folder gives the listing its own position and a fresh look at the
    // folder, whatever listing ran before.
    NTSTATUS opened = 0;
    Handle folder = OpenRelative(handle_.get(), std::filesystem::path(), FILE_LIST_DIRECTORY, kShareAll, FILE_OPEN,
                                 FILE_DIRECTORY_FILE, &opened);
    if (!folder.valid()) return {FromNtStatus(opened, FolderUnreadableText(shown_)), {}, {}, {}};
    // 64 KiB is the most a network folder gives per call.
    constexpr ULONG kBufferSize = 64 * 1024;
    const auto buffer = std::make_unique<std::uint64_t[]>(kBufferSize / sizeof(std::uint64_t));
    for (bool first = true;; first = false) {
      IO_STATUS_BLOCK io{};
      const NTSTATUS status = NtQueryDirectoryFile(folder.get(), nullptr, nullptr, nullptr, &io, buffer.get(),
                                                   kBufferSize, kFileFullDirectoryInformation, FALSE, nullptr,
                                                   first ? TRUE : FALSE);
      if (status == kStatusNoMoreFiles) break;
      if (!NT_SUCCESS(status)) {
        listing = {FromNtStatus(status, FolderUnreadableText(shown_)), {}, {}, {}};
        break;
      }
      const char* at = reinterpret_cast<const char*>(buffer.get());
      for (;;) {
        const auto* entry = reinterpret_cast<const FullDirectoryEntry*>(at);
        Examine(*entry, wildcard, listing);
        if (entry->next_entry_offset == 0) break;
        at += entry->next_entry_offset;
      }
    }
    return listing;
  }

  // Sorts one entry into the listing. Hidden and system entries are left out, links to folders
  // are never folders, and a link to a file counts as the file it leads to.
  void Examine(const FullDirectoryEntry& entry, std::string_view wildcard, FolderListing& listing) {
    const std::wstring name(entry.file_name, entry.file_name_length / sizeof(WCHAR));
    if (name == L"." || name == L"..") return;
    const DWORD attributes = entry.file_attributes;
    if (attributes & kHiddenAttributes) {
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) listing.passed_folders.push_back({name});
      return;
    }
    const bool reparse = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A folder placeholder of a cloud store is a real folder; a link or a junction is not.
      if (!reparse || (entry.ea_size != 0 && !IsReparseTagNameSurrogate(entry.ea_size))) {
        listing.folders.emplace_back(name);
      } else {
        listing.passed_folders.push_back({name, true});
      }
      return;
    }
    const std::string text = PathText(name);
    if (!MatchesWildcard(wildcard, text)) return;
    if (!reparse) {
      listing.files.push_back({std::filesystem::path(name), static_cast<std::uintmax_t>(entry.end_of_file.QuadPart)});
      return;
    }
    // Opened the way a read opens it, to see what it leads to.
    NTSTATUS status = 0;
    Handle file = OpenRelative(handle_.get(), name, FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN, 0, &status);
    if (!file.valid()) {
      if (!IsUnresolvable(status)) listing.unexamined.push_back({name, FromNtStatus(status, kSourceUnreadable)});
      return;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info)) {
      listing.unexamined.push_back({name, FromWindowsError(GetLastError(), kSourceUnreadable)});
      return;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
    const std::uint64_t size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    listing.files.push_back({std::filesystem::path(name), static_cast<std::uintmax_t>(size)});
  }

  Handle handle_;
  std::wstring shown_;  // text, not a path: a path object splits itself into its components
  FolderId id_;
  bool removable_;  // opened with the right to delete
};

class DiskFileServicesImpl : public FileServices {
 public:
  // Links in the path are followed now, by the open; from then on the handle stays with the
  // folder found, and the folder cannot be renamed or removed while the handle is open.
  Status OpenFolder(const std::filesystem::path& folder, std::unique_ptr<OpenedFolder>* out) override {
    std::wstring extended;
    if (!ExtendedPath(folder, &extended)) return FromWindowsError(GetLastError(), FolderUnreadableText(folder));
    HANDLE handle = CreateFileW(extended.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_TRAVERSE,
                                kShareFolder, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      return FromWindowsError(PathError(extended, GetLastError()), FolderUnreadableText(folder));
    }
    return DiskOpenedFolder::Adopt(handle, folder.native(), out);
  }

  bool Missing(const std::filesystem::path& path) override {
    std::wstring extended;
    if (!ExtendedPath(path, &extended)) return false;
    if (GetFileAttributesW(extended.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = PathError(extended, GetLastError());
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }

  // A symbolic link or a junction names where it leads twice, for the system and for people;
  // the name for people is the one the link was made with. A volume mounted at a folder is a
  // junction to the volume's name ("\??\Volume{...}\"): no link, but a mounted folder.
  bool LinkTarget(const std::filesystem::path& path, std::filesystem::path* target) override {
    ReparseData data;
    if (!ReadReparse(path, &data)) return false;
    if (data.tag != IO_REPARSE_TAG_SYMLINK && data.tag != IO_REPARSE_TAG_MOUNT_POINT) return false;
    if (IsVolumeMount(data)) return false;
    std::wstring name = data.print_name;
    if (name.empty()) {
      name = data.substitute_name;
      if (name.starts_with(L"\\??\\")) name.erase(0, 4);
    }
    if (name.empty()) return false;
    *target = std::move(name);
    return true;
  }

  // Only the id is asked for: an open for the attributes alone, sharing everything, is allowed
  // beside a folder held without delete sharing.
  Status IdOf(const std::filesystem::path& folder, FolderId* id) override {
    std::wstring extended;
    if (!ExtendedPath(folder, &extended)) return FromWindowsError(GetLastError(), FolderUnreadableText(folder));
    Handle entry(CreateFileW(extended.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!entry.valid()) return FromWindowsError(PathError(extended, GetLastError()), FolderUnreadableText(folder));
    DWORD attributes = 0;
    if (!Identify(entry.get(), id, &attributes)) return FromWindowsError(GetLastError(), FolderUnreadableText(folder));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return FolderUnreadable(folder, ENOTDIR);
    if (IsLink(entry.get())) return FolderUnreadable(folder, ELOOP);
    return Status::Ok();
  }

  // A volume's top folder is where the system's volume path of a folder ends; a folder where a
  // volume is mounted is one too, and a junction to a volume's name besides.
  MountKind Mounted(const std::filesystem::path& folder) override {
    ReparseData data;
    if (ReadReparse(folder, &data) && IsVolumeMount(data)) return MountKind::kMountedFolder;
    std::wstring extended;
    if (!ExtendedPath(folder, &extended)) return MountKind::kNone;
    while (extended.size() > 7 && (extended.back() == L'\\' || extended.back() == L'/')) extended.pop_back();
    std::wstring volume(extended.size() + 2, L'\0');
    if (!GetVolumePathNameW(extended.c_str(), volume.data(), static_cast<DWORD>(volume.size()))) {
      return MountKind::kNone;
    }
    volume.resize(wcslen(volume.c_str()));
    while (!volume.empty() && volume.back() == L'\\') volume.pop_back();
    std::wstring folder_text = Unextended(extended);
    while (folder_text.size() > 1 && folder_text.back() == L'\\') folder_text.pop_back();
    if (!SameFolderPath(Unextended(volume), folder_text)) return MountKind::kNone;
    // "C:", "\\server\share" and "Volume{...}" are the tops of drives; anything longer is mounted.
    const bool share = folder_text.starts_with(L"\\\\");
    const std::size_t separators = static_cast<std::size_t>(
        std::count(folder_text.begin() + (share ? 2 : 0), folder_text.end(), L'\\'));
    return separators <= (share ? 1u : 0u) ? MountKind::kVolumeRoot : MountKind::kMountedFolder;
  }

  // The entry itself is opened, never what a link leads to, and removed through its handle: a
  // link goes as a link, also one to a folder; a folder itself is refused.
  Status RemoveFile(const std::filesystem::path& file) override {
    std::wstring extended;
    if (!ExtendedPath(file, &extended)) return FromWindowsError(GetLastError(), kFileNotRemovable);
    Handle entry(CreateFileW(extended.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!entry.valid()) return FromWindowsError(PathError(extended, GetLastError()), kFileNotRemovable);
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(entry.get(), &info)) return FromWindowsError(GetLastError(), kFileNotRemovable);
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsLink(entry.get())) {
      return Status::FromErrno(EISDIR, kFileNotRemovable);
    }
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(entry.get(), FileDispositionInfo, &disposition, sizeof disposition)) {
      return FromWindowsError(GetLastError(), kFileNotRemovable);
    }
    if (!entry.Close()) return FromWindowsError(GetLastError(), kFileNotRemovable);
    return Status::Ok();
  }

  Status MakeFolder(const std::filesystem::path& folder) override {
    std::wstring extended;
    if (!ExtendedPath(folder, &extended) || !CreateDirectoryW(extended.c_str(), nullptr)) {
      return FromWindowsError(PathError(extended, GetLastError()), kFolderNotCreatable);
    }
    return Status::Ok();
  }

  Status RemoveFolder(const std::filesystem::path& folder) override {
    std::wstring extended;
    if (!ExtendedPath(folder, &extended)) return FromWindowsError(GetLastError(), kFolderNotRemovable);
    const DWORD attributes = GetFileAttributesW(extended.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      return Status::FromErrno(ENOTDIR, kFolderNotRemovable);
    }
    if (!RemoveDirectoryW(extended.c_str())) return FromWindowsError(GetLastError(), kFolderNotRemovable);
    return Status::Ok();
  }
};

}  // namespace

FileServices& DiskFileServices() {
  static DiskFileServicesImpl services;
  return services;
}

bool SameFolderPath(const std::filesystem::path& a, const std::filesystem::path& b) {
  const std::wstring& x = a.native();
  const std::wstring& y = b.native();
  if (x.size() != y.size()) return false;
  return CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(), static_cast<int>(y.size()), TRUE) ==
         CSTR_EQUAL;
}

}  // namespace tavrin
