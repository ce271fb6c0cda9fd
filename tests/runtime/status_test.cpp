#include "runtime/status.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace tavrin {
namespace {

TEST(StatusTest, OkAndErrorCarryTheirReason) {
  EXPECT_TRUE(Status().ok());
  EXPECT_TRUE(Status::Ok().ok());
  EXPECT_EQ(Status::Ok().reason(), "");
  const Status error = Status::Error("Zieldatei existiert bereits");
  EXPECT_FALSE(error.ok());
  EXPECT_EQ(error.reason(), "Zieldatei existiert bereits");
}

TEST(StatusTest, FromErrnoPutsTheSystemReasonInBrackets) {
  EXPECT_EQ(Status::FromErrno(EIO, "Quelldatei kann nicht gelesen werden").reason(),
            "Quelldatei kann nicht gelesen werden (Ein-/Ausgabefehler)");
  EXPECT_FALSE(Status::FromErrno(EIO, "x").ok());
  EXPECT_EQ(Status::FromErrno(ENOENT).reason(), "Datei oder Verzeichnis nicht gefunden");
}

TEST(StatusTest, GermanTextsForCommonErrors) {
  const struct {
    int error_number;
    const char* text;
  } cases[] = {
      {ENOENT, "Datei oder Verzeichnis nicht gefunden"},
      {EACCES, "Zugriff verweigert"},
      {EPERM, "Zugriff verweigert"},
      {EEXIST, "existiert bereits"},
      {ENOSPC, "Kein Speicherplatz mehr auf dem Datenträger"},
      {EISDIR, "ist ein Verzeichnis"},
      {ENOTDIR, "ist kein Verzeichnis"},
      {EIO, "Ein-/Ausgabefehler"},
      {ENOTEMPTY, "Verzeichnis ist nicht leer"},
      {0, "Systemfehler 0"},
      {-7, "Systemfehler -7"},
      {99999, "Systemfehler 99999"},
  };
  for (const auto& c : cases) EXPECT_EQ(GermanErrorText(c.error_number), c.text) << c.error_number;
}

TEST(StatusTest, EveryOtherCommonErrorHasATextOfItsOwn) {
  const int error_numbers[] = {EROFS, ENAMETOOLONG, ELOOP, EMFILE, ENFILE, EFBIG, EBUSY, EINVAL, ENOMEM, EXDEV, ETXTBSY,
#ifndef _WIN32  // errors of disk quotas and network files that Windows does not number
                               EDQUOT, ESTALE
#endif
  };
  for (int error_number : error_numbers) {
    EXPECT_EQ(GermanErrorText(error_number).find("Systemfehler"), std::string::npos) << error_number;
  }
}

TEST(StatusTest, AnErrorNumberIsKeptForTheCallerToTellCasesApart) {
  EXPECT_EQ(Status::FromErrno(ENOTDIR, "Quelle").error_number(), ENOTDIR);
  EXPECT_EQ(Status::FromErrno(ENOENT).error_number(), ENOENT);
  EXPECT_EQ(Status::Error("ohne Nummer").error_number(), 0);
  EXPECT_EQ(Status::Ok().error_number(), 0);
}

}  // namespace
}  // namespace tavrin
