#include "window/qt/lists/drive_list.h"

#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/window/lists/path_printing.h"
#include "tests/window/scratch_tree.h"
#include "window/qt/lists/folder_list.h"
#include "window/presenter/mount_table.h"
#include "window/qt/lists/path_text.h"

namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;
using tavrin::DriveList;

namespace {

const Paths kDrives{"/", "/mnt/a", "/mnt/ab", "/media/usb stick",
                    "/mnt/Gr\xfc\xdf"
                    "e"};

Paths SplitPaths(const QByteArray& list) {
  Paths paths;
  for (const QByteArray& path : list.split('|')) {
    if (!path.isEmpty()) paths.emplace_back(path.toStdString());
  }
  return paths;
}

}  // namespace

class DriveListTest : public QObject {
  Q_OBJECT

 private slots:
  void UnescapesMountPoints_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain") << QByteArray("/mnt/data") << QByteArray("/mnt/data");
    QTest::newRow("space") << QByteArray("/media/usb\\040stick") << QByteArray("/media/usb stick");
    QTest::newRow("tab, newline, backslash") << QByteArray("/m/\\011\\012\\134x") << QByteArray("/m/\t\n\\x");
    QTest::newRow("two spaces in a row") << QByteArray("/a\\040\\040b") << QByteArray("/a  b");
    QTest::newRow("escape at the end") << QByteArray("/a\\040") << QByteArray("/a ");
    QTest::newRow("too short to be an escape") << QByteArray("/a\\04") << QByteArray("/a\\04");
    QTest::newRow("not octal") << QByteArray("/a\\089") << QByteArray("/a\\089");
    QTest::newRow("above a byte") << QByteArray("/a\\400") << QByteArray("/a\\400");
  }
  void UnescapesMountPoints() {
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, bytes);
    QCOMPARE(QByteArray::fromStdString(tavrin::UnescapeMountPoint(field.toStdString())), bytes);
  }

  void TellsUserFileSystemsFromPseudoOnes() {
    for (const char* type :
         {"ext4", "ext3", "ext2", "xfs", "btrfs", "vfat", "exfat", "ntfs", "ntfs3", "fuseblk", "iso9660",
          "udf", "zfs", "f2fs", "nfs", "nfs4", "cifs", "9p", "virtiofs"}) {
      QVERIFY2(tavrin::IsUserFileSystem(type), type);
    }
    for (const char* type : {"proc",     "sysfs",      "devtmpfs",        "devpts",  "tmpfs",  "cgroup",
                             "cgroup2",  "securityfs", "debugfs",         "tracefs", "pstore", "bpf",
                             "mqueue",   "hugetlbfs",  "configfs",        "fusectl", "autofs", "overlay",
                             "squashfs", "nsfs",       "fuse.gvfsd-fuse", "EXT4",    ""}) {
      QVERIFY2(!tavrin::IsUserFileSystem(type), type);
    }
  }

  // Every mount point, and those of user file systems that the drive list offers.
  void ReadsMountPointsFromMountinfo_data() {
    QTest::addColumn<QByteArray>("mountinfo");
    QTest::addColumn<QByteArray>("points");  // user file systems, separated by "|"
    QTest::addColumn<QByteArray>("all");     // every mount point
    QTest::newRow("empty: only the root") << QByteArray() << QByteArray("/") << QByteArray("/");
    QTest::newRow("pseudo file systems left out")
        << QByteArray(
               "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
               "23 27 0:22 / /sys rw,relatime - sysfs sysfs rw\n"
               "25 24 0:23 / /dev/shm rw,relatime - tmpfs tmpfs rw,size=24683772k\n"
               "26 24 0:24 / /dev/pts rw,relatime - devpts devpts rw,mode=600\n"
               "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw,discard\n"
               "41 31 0:38 / /sys/fs/cgroup/unified rw,relatime - cgroup2 cgroup2 rw\n")
        << QByteArray("/") << QByteArray("/|/dev/pts|/dev/shm|/proc|/sys|/sys/fs/cgroup/unified");
    QTest::newRow("disks, shares and escaped names, sorted")
        << QByteArray(
               "30 1 8:1 / / rw shared:1 - overlay overlay rw\n"
               "31 30 8:17 / /mnt/data rw,noatime shared:2 master:7 - xfs /dev/sdb1 rw\n"
               "32 30 8:33 / /media/usb\\040stick rw - vfat /dev/sdc1 rw\n"
               "33 30 0:50 /export /net/home rw - nfs4 server:/export rw\n"
               "34 30 8:49 / /mnt/c rw - fuseblk /dev/sdd1 rw\n")
        << QByteArray("/|/media/usb stick|/mnt/c|/mnt/data|/net/home")
        << QByteArray("/|/media/usb stick|/mnt/c|/mnt/data|/net/home");
    // A bind mount has the type of the file system it shows a folder of, and a root other
    // than "/" when that folder is not the file system's top.
    QTest::newRow("bind mounts are mount points")
        << QByteArray(
               "60 1 254:0 / / rw - ext4 /dev/vda rw\n"
               "61 60 254:0 /home/anna/a /home/anna/b rw - ext4 /dev/vda rw\n"
               "62 60 0:23 /x /srv/y rw - tmpfs tmpfs rw\n")
        << QByteArray("/|/home/anna/b") << QByteArray("/|/home/anna/b|/srv/y");
    QTest::newRow("a mount point mounted twice counts once")
        << QByteArray(
               "40 1 8:1 / /mnt/x rw - ext4 /dev/sda1 rw\n"
               "41 40 8:2 / /mnt/x rw - ext4 /dev/sda2 rw")
        << QByteArray("/|/mnt/x") << QByteArray("/|/mnt/x");
    QTest::newRow("lines without the layout skipped")
        << QByteArray(
               "garbage\n"
               "\n"
               "50 1 8:1 / /no/separator rw ext4 /dev/sda1 rw\n"
               "51 1 8:1 / /no/type rw -\n"
               "52 1 8:1 / relative rw - ext4 /dev/sda1 rw\n"
               "53 1 8:1 / /kept rw - btrfs /dev/sda1 rw\r\n")
        << QByteArray("/|/kept") << QByteArray("/|/kept");
  }
  void ReadsMountPointsFromMountinfo() {
    QFETCH(QByteArray, mountinfo);
    QFETCH(QByteArray, points);
    QFETCH(QByteArray, all);
    QCOMPARE(tavrin::UserMountPoints(mountinfo.toStdString()), SplitPaths(points));
    QCOMPARE(tavrin::AllMountPoints(mountinfo.toStdString()), SplitPaths(all));
  }

  // The live table: "/proc" is mounted wherever this runs.
  void ReadsTheMountTableOfThisProcess() {
    const Paths all = tavrin::AllMountPoints(tavrin::ReadMountTable());
    QVERIFY(std::find(all.begin(), all.end(), fs::path("/proc")) != all.end());
  }

  void OffersTheRootAndFoldersOnly() {
    const Paths drives = tavrin::AvailableDrives();
    QVERIFY(!drives.empty());
    QCOMPARE(drives.front(), fs::path("/"));
    QVERIFY(std::is_sorted(drives.begin(), drives.end()));
    QVERIFY(std::adjacent_find(drives.begin(), drives.end()) == drives.end());
    for (const fs::path& drive : drives) QVERIFY2(fs::is_directory(drive), drive.c_str());
  }

  void FindsTheDriveOfAFolderPartByPart_data() {
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<QByteArray>("drive");
    QTest::newRow("inside a mount") << QByteArray("/mnt/ab/x") << QByteArray("/mnt/ab");
    QTest::newRow("the mount itself") << QByteArray("/mnt/a") << QByteArray("/mnt/a");
    QTest::newRow("separator at the end") << QByteArray("/mnt/a/") << QByteArray("/mnt/a");
    QTest::newRow("longer name is no part") << QByteArray("/mnt/abc/x") << QByteArray("/");
    QTest::newRow("above the mounts") << QByteArray("/mnt") << QByteArray("/");
    QTest::newRow("dots worked out") << QByteArray("/mnt/ab/../a/y") << QByteArray("/mnt/a");
    QTest::newRow("space in the name") << QByteArray("/media/usb stick/p") << QByteArray("/media/usb stick");
    QTest::newRow("raw bytes") << QByteArray(
                                      "/mnt/Gr\xfc\xdf"
                                      "e/x")
                               << QByteArray(
                                      "/mnt/Gr\xfc\xdf"
                                      "e");
    QTest::newRow("relative: none") << QByteArray("mnt/a") << QByteArray();
  }
  void FindsTheDriveOfAFolderPartByPart() {
    QFETCH(QByteArray, folder);
    QFETCH(QByteArray, drive);
    QCOMPARE(tavrin::DriveOf(folder.toStdString(), kDrives).native(), drive.toStdString());
  }

  void DriveOfWorksWithoutTheRootAndWithSeparatorsAtTheEnd() {
    const Paths drives{"/mnt/a/", "/mnt/a/b/"};
    QCOMPARE(tavrin::DriveOf("/mnt/a/b/c", drives), fs::path("/mnt/a/b/"));
    QCOMPARE(tavrin::DriveOf("/mnt/ab", drives), fs::path());
    QCOMPARE(tavrin::DriveOf("/", drives), fs::path());
  }

  void PickingADriveRaisesChangeAndShowingOneDoesNot() {
    DriveList list(kDrives);
    QSignalSpy changes(&list, &DriveList::Change);
    QCOMPARE(list.count(), static_cast<int>(kDrives.size()));
    QCOMPARE(list.itemText(3), QString("/media/usb stick"));
    QCOMPARE(list.itemText(4), tavrin::DisplayText(kDrives[4]));
    QCOMPARE(list.Drive(), fs::path("/"));

    QVERIFY(list.PickDrive("/mnt/ab/"));
    QCOMPARE(list.Drive(), fs::path("/mnt/ab"));
    QCOMPARE(changes.count(), 1);
    QVERIFY(list.PickDrive("/mnt/ab"));
    QCOMPARE(changes.count(), 1);
    QVERIFY(!list.PickDrive("/mnt/abc"));
    QVERIFY(!list.PickDrive(""));
    QCOMPARE(list.Drive(), fs::path("/mnt/ab"));

    list.ShowDriveOf("/mnt/a/deep/x");
    QCOMPARE(list.Drive(), fs::path("/mnt/a"));
    list.ShowDriveOf("relative/x");
    QCOMPARE(list.Drive(), fs::path("/mnt/a"));
    QCOMPARE(changes.count(), 1);

    // The user steps through the list with the keyboard: every new drive is a change.
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.Drive(), fs::path("/mnt/ab"));
    QTest::keyClick(&list, Qt::Key_End);
    QCOMPARE(list.Drive().native(), kDrives[4].native());
    QCOMPARE(changes.count(), 3);
  }

  void StartsOnTheDriveOfTheCurrentFolder() {
    DriveList list;
    QCOMPARE(list.drives(), tavrin::AvailableDrives());
    QCOMPARE(list.Drive(), tavrin::DriveOf(fs::current_path(), list.drives()));
  }

  void LeadsAFolderListToThePickedDrive() {
    tavrin::testing::ScratchTree scratch;
    const fs::path first = scratch.Folder("first");
    const fs::path second = scratch.Folder("second");
    scratch.Folder("first/sub");
    DriveList drives({first, second});
    tavrin::FolderList folders;
    QVERIFY(folders.SetPath(first / "sub"));
    QSignalSpy folder_changes(&folders, &tavrin::FolderList::Change);
    connect(&drives, &DriveList::Change, &folders, [&] { folders.SetPath(drives.Drive()); });

    QVERIFY(drives.PickDrive(second));
    QCOMPARE(folders.Path(), second);
    QCOMPARE(folder_changes.count(), 1);

    QVERIFY(folders.SetPath(first / "sub"));
    drives.ShowDriveOf(folders.Path());
    QCOMPARE(drives.Drive(), first);
    QCOMPARE(folders.Path(), first / "sub");
    QCOMPARE(folder_changes.count(), 2);
  }
};

QTEST_MAIN(DriveListTest)
#include "drive_list_test.moc"
