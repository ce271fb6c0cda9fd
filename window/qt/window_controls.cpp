#include "window/qt/window_controls.h"

#include <QGroupBox>
#include <QSet>
#include <QStringList>

namespace tavrin {
namespace {

[[noreturn]] void Fail(const QString& what) {
  throw LayoutError(QStringLiteral("Fehler im Fensteraufbau: %1").arg(what).toStdString());
}

QStringList Captions(std::span<const char* const> texts) {
  QStringList captions;
  for (const char* text : texts) captions << QString::fromUtf8(text);
  return captions;
}

// A new control of the row's kind with the row's caption, inside `container`.
QWidget* MakeControl(const ControlSpec& row, QWidget* container, const WindowControls& made,
                     const std::optional<std::vector<std::filesystem::path>>& drives) {
  const QString caption = QString::fromUtf8(row.caption);
  switch (row.kind) {
    case ControlKind::kToolbar:
      return new Toolbar(Captions(ToolbarCaptions()), *made.imglist, *made.imghotlist,
                         QSize(kToolbarButtonWidth, kToolbarButtonHeight), container);
    case ControlKind::kTabControl:
      return new TabControl(Captions(PageCaptions()), kTabStripHeight, 2, QSize(row.width, row.height),
                            container);
    case ControlKind::kStatusBar:
      return new StatusBar(container);
    case ControlKind::kFrame:
      return new QGroupBox(caption, container);
    case ControlKind::kFolderList:
      return new FolderList(container);
    case ControlKind::kDriveList:
      return drives ? new DriveList(*drives, container) : new DriveList(container);
    case ControlKind::kLabel:
      return new ElidedLabel(caption, container);
    case ControlKind::kPushButton: {
      auto* button = new QPushButton(caption, container);
      button->setAutoDefault(false);
      button->setDefault(false);
      return button;
    }
  }
  Fail(QStringLiteral("unbekannte Art von Steuerelement in Zeile %1").arg(QString::fromLatin1(row.name)));
}

// Hands out the window's controls by name, and remembers which names it handed out.
class Finder {
 public:
  explicit Finder(const QHash<QString, QWidget*>& by_name) : by_name_(by_name) {}

  // The control `name`, which must exist and be a T.
  template <class T>
  T* Get(const QString& name) {
    auto* control = qobject_cast<T*>(by_name_.value(name));
    if (control == nullptr)
      Fail(QStringLiteral("das Steuerelement %1 fehlt oder hat die falsche Art").arg(name));
    found_.insert(name);
    return control;
  }

  bool Found(const QString& name) const { return found_.contains(name); }

 private:
  const QHash<QString, QWidget*>& by_name_;
  QSet<QString> found_;
};

}  // namespace

WindowControls CreateWindowControls(std::span<const ControlSpec> layout, QWidget& window,
                                    const std::optional<std::vector<std::filesystem::path>>& drives) {
  WindowControls made;
  made.imghotlist = new ImageList(QStringLiteral("ImgHotList"), HotToolbarImages(), &window);
  made.imglist = new ImageList(QStringLiteral("ImgList"), NormalToolbarImages(), &window);
  for (const ControlSpec& row : layout) {
    const QString name = QString::fromLatin1(row.name);
    if (name.isEmpty() || made.by_name.contains(name))
      Fail(QStringLiteral("Name doppelt oder leer: „%1“").arg(name));
    const QString container_name = QString::fromLatin1(row.container);
    QWidget* container = container_name.isEmpty() ? &window : made.by_name.value(container_name);
    if (container == nullptr)
      Fail(QStringLiteral("%1 liegt in %2, das vorher fehlt").arg(name, container_name));
    QWidget* control = MakeControl(row, container, made, drives);
    control->setObjectName(name);
    control->setGeometry(row.left, row.top, row.width, row.height);
    made.by_name.insert(name, control);
    if (auto* tabs = qobject_cast<TabControl*>(container); tabs != nullptr && row.page != kNoPage)
      tabs->AddToPage(control, row.page);
  }

  Finder find(made.by_name);
  made.toolbar1 = find.Get<Toolbar>(QStringLiteral("Toolbar1"));
  made.sstab1 = find.Get<TabControl>(QStringLiteral("SSTab1"));
  made.statusbar1 = find.Get<StatusBar>(QStringLiteral("StatusBar1"));
  made.dir1 = find.Get<FolderList>(QStringLiteral("Dir1"));
  made.dir2 = find.Get<FolderList>(QStringLiteral("Dir2"));
  made.drive1 = find.Get<DriveList>(QStringLiteral("Drive1"));
  made.drive2 = find.Get<DriveList>(QStringLiteral("Drive2"));
  made.lbprj = find.Get<ElidedLabel>(QStringLiteral("lbPrj"));
  made.lbcr = find.Get<ElidedLabel>(QStringLiteral("lbCr"));
  made.lbinfo = find.Get<ElidedLabel>(QStringLiteral("lbInfo"));
  for (std::size_t index = 0; index < made.btnconvert.size(); ++index) {
    made.btnconvert[index] = find.Get<QPushButton>(QStringLiteral("btnConvert(%1)").arg(index));
    made.btnpath[index] = find.Get<QPushButton>(QStringLiteral("btnPath(%1)").arg(index));
  }
  for (const ControlSpec& row : layout) {
    const QString name = QString::fromLatin1(row.name);
    const bool frame = row.kind == ControlKind::kFrame && !name.contains(QLatin1Char('('));
    if (!frame && !find.Found(name)) Fail(QStringLiteral("unbekanntes Steuerelement „%1“").arg(name));
  }

  // Each folder list opens on the process's current folder, its drive list on that folder's drive.
  made.drive1->ShowDriveOf(made.dir1->Path());
  made.drive2->ShowDriveOf(made.dir2->Path());
  return made;
}

}  // namespace tavrin
